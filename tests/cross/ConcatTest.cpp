#include "cross/Concat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::Concat;
using harness::feed;

TEST(ConcatTest, JoinsWithTheSeparator) {
    struct Case {
        harness::Properties properties;
        std::vector<harness::Operand> operands;
        std::wstring result;
    };
    const harness::Properties comma = {{L"separator", L","}};
    const harness::Properties commaAdd = {{L"separator", L","}, {L"ifEmpty", L"add"}};
    const Case cases[] = {
        {comma, {L"a", L"b", L"c"}, L"a,b,c"},
        {{}, {L"a", L"b", L"c"}, L"abc"},
        {comma, {L"a", L"", L"c"}, L"a,c"},
        {commaAdd, {L"a", L"", L"c"}, L"a,,c"},
        // The first operand is always taken, empty or not.
        {comma, {L"", L"b"}, L",b"},
        {commaAdd, {L"", L"b"}, L",b"},
        {comma, {L"", L""}, L""},
        {commaAdd, {L"", L""}, L","},
        {comma, {}, L""},
        {{{L"separator", L""}}, {L"x", L"y"}, L"xy"},
        {{{L"separator", L" - "}}, {L"Mot\u00f6r", L"\U0001F600"}, L"Mot\u00f6r - \U0001F600"},
        {{{L"separator", L","}, {L"ifEmpty", L"skip"}}, {L"a", L"", L"c"}, L"a,c"},
        {{{L"separator", L","}, {L"ifEmpty", L"ADD"}}, {L"a", L"", L"c"}, L"a,c"},
        {{{L"separator", L","}, {L"ifEmpty", L"add "}}, {L"a", L"", L"c"}, L"a,c"},
    };
    for (const Case& c : cases) {
        const harness::FeedOutcome outcome = feed<Concat>(c.properties, c.operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(c.operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(c.operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.result, c.result);
    }
}

TEST(ConcatTest, PropertiesAreReadOncePerEvaluation) {
    Concat concat;
    concat.setProperty(L"separator", L",");
    EXPECT_EQ(concat.update(PluginSDK::String(L"a")), PluginSDK::RC_SUCCESS);
    // Replacing the property frees the text it held; the evaluation keeps its own copy.
    concat.setProperty(L"separator", std::wstring(100, L';').c_str());
    concat.setProperty(L"ifEmpty", L"add");
    EXPECT_EQ(concat.update(PluginSDK::String(L"")), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(concat.update(PluginSDK::String(L"b")), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(harness::result(concat).result, L"a,b");

    concat.disposeExpression();
    EXPECT_EQ(harness::result(concat).result, L"");
    concat.setProperty(L"separator", L"+");
    EXPECT_EQ(harness::feed(concat, {L"a", L"", L"b"}).result, L"a++b");
}
