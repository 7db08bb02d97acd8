#include "cross/Match.h"

#include <gtest/gtest.h>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::Match;

TEST(MatchTest, MatchesTheWholeInputAgainstTheFilter) {
    struct Case {
        const wchar_t* filter;
        const wchar_t* input;
        const wchar_t* ignoreCase;  // null: absent
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"*.log", L"system.log", nullptr, L"true"},
        {L"*.log", L"system.LOG", nullptr, L"false"},
        {L"*.log", L"system.LOG", L"true", L"true"},
        {L"*.LOG", L"system.log", L"true", L"true"},
        {L"*.log", L"system.LOG", L"TRUE", L"false"},
        {L"*.log", L"system.LOG", L"yes", L"false"},
        {L"", L"", nullptr, L"true"},
        {L"", L"a", nullptr, L"false"},
        {L"*", L"", nullptr, L"true"},
        {L"*a?b", L"aaab", nullptr, L"false"},
    };
    for (const Case& c : cases) {
        Match expression;
        expression.setProperty(L"inputString", c.input);
        expression.setProperty(L"filter", c.filter);
        if (c.ignoreCase != nullptr) {
            expression.setProperty(L"ignoreCase", c.ignoreCase);
        }
        const harness::Outcome outcome = harness::result(expression);
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.result, c.result) << c.filter << " / " << c.input;
        // Folding works on copies.
        EXPECT_STREQ(expression.getProperty(L"inputString"), c.input);
    }
}

TEST(MatchTest, AbsentTextsFailSilentlyAndKeepTheEarlierResult) {
    harness::TraceCapture capture;
    for (const harness::Properties& properties :
         std::vector<harness::Properties>{{{L"filter", L"*"}}, {{L"inputString", L"a"}}, {}}) {
        const harness::Outcome outcome = harness::evaluate<Match>(properties);
        EXPECT_EQ(outcome.code, PluginSDK::RC_TEXT_PROPERTY_ABSENT);
        EXPECT_EQ(outcome.result, L"stale");
    }
    harness::evaluate<Match>({{L"inputString", L"a"}, {L"filter", L"a"}});
    EXPECT_TRUE(capture.opened.empty());
    EXPECT_TRUE(capture.messages.empty());

    // Validation stops at the first absent text: "filter" is not even read.
    Match expression;
    expression.setProperty(L"filter", L"*");
    Match::Properties properties;
    EXPECT_EQ(expression.validateProperties(properties), PluginSDK::RC_TEXT_PROPERTY_ABSENT);
    EXPECT_EQ(properties.filter, nullptr);
}
