#include "cross/Md5.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::Md5;
using harness::feed;

TEST(Md5Test, DigestsTheJoinedUtf8Text) {
    struct Case {
        std::vector<harness::Operand> operands;
        const wchar_t* digest;  // md5sum of the UTF-8 bytes
    };
    const Case cases[] = {
        {{}, L"d41d8cd98f00b204e9800998ecf8427e"},
        {{L"abc"}, L"900150983cd24fb0d6963f7d28e17f72"},
        {{L"ab", L"c"}, L"900150983cd24fb0d6963f7d28e17f72"},
        {{L"", L"a", L"", L"bc", L""}, L"900150983cd24fb0d6963f7d28e17f72"},
        {{L"message ", L"digest"}, L"f96b697d7cb7938d525a2f31aaf161d0"},
        // Multi-byte characters are digested over their whole UTF-8 form.
        {{L"Mot\u00f6r", L"Head"}, L"1ef05298d9b204130628dba6262eaa67"},
        // A character without a UTF-8 form stands as U+FFFD (EF BF BD).
        {{L"a\xD800", L"b"}, L"ff6405018d5ab2642e35fdba389b7c51"},
        {{L"a",
          L"\x110000"
          L"b"},
         L"ff6405018d5ab2642e35fdba389b7c51"},
        {{L"a\uFFFDb"}, L"ff6405018d5ab2642e35fdba389b7c51"},
    };
    for (const Case& c : cases) {
        const harness::FeedOutcome outcome = feed<Md5>({}, c.operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(c.operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(c.operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.result, c.digest);
    }
    EXPECT_NE(feed<Md5>({}, {L"c", L"ab"}).result, L"900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5Test, TheDigestCoversEverythingFedSoFar) {
    Md5 md5;
    EXPECT_EQ(feed(md5, {L"ab"}).result, L"187ef4436122d1cc2f40dc2b92f0eba0");
    EXPECT_EQ(harness::result(md5).result, L"187ef4436122d1cc2f40dc2b92f0eba0");
    EXPECT_EQ(feed(md5, {L"c"}).result, L"900150983cd24fb0d6963f7d28e17f72");
    md5.disposeExpression();
    EXPECT_EQ(harness::result(md5).result, L"d41d8cd98f00b204e9800998ecf8427e");
}
