#include "cross/FileDirectory.h"

#include <gtest/gtest.h>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::FileDirectory;
using harness::evaluate;

TEST(FileDirectoryTest, TakesEverythingBeforeTheLastSeparator) {
    const struct {
        const wchar_t* file;
        const wchar_t* directory;
    } cases[] = {
        {L"/usr/lib/libx.so", L"/usr/lib"},
        {L"/usr/lib/", L"/usr/lib"},
        {L"/x", L"/"},
        {L"/", L"/"},
        {L"a/b", L"a"},
        {L"//x", L"/"},
        {L"a//b", L"a/"},
        {L"/a/./../b", L"/a/./.."},
        {L"libx.so", L""},
        {L"", L""},
        {L"C:\\dir\\file", L""},
        {L"/caf\u00e9/\U0001F600.txt", L"/caf\u00e9"},
    };
    for (const auto& c : cases) {
        const harness::Outcome outcome = evaluate<FileDirectory>({{L"file", c.file}});
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS) << c.file;
        EXPECT_EQ(outcome.result, c.directory) << c.file;
    }
}

TEST(FileDirectoryTest, LooksAtTextOnly) {
    // No file system is consulted: a path below a regular file still has a directory part.
    const harness::Outcome outcome = evaluate<FileDirectory>({{L"file", L"/etc/passwd/x"}});
    EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
    EXPECT_EQ(outcome.result, L"/etc/passwd");
}

TEST(FileDirectoryTest, AbsentFileFailsAndClearsTheResult) {
    for (const harness::Properties& properties :
         {harness::Properties{}, harness::Properties{{L"absolutePath", L"/a/b"}}}) {
        const harness::Outcome outcome = evaluate<FileDirectory>(properties);
        EXPECT_EQ(outcome.code, PluginSDK::RC_ABSOLUTE_PATH_ABSENT);
        EXPECT_EQ(outcome.result, L"");
    }
}
