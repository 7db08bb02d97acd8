#include "cross/Switch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::Switch;
using harness::feed;
using harness::Operand;

namespace {

const Operand kFailed = Operand::failure(PluginSDK::RC_VALUE_ABSENT);
constexpr std::int32_t kNotAWord = PluginSDK::RC_NOT_A_TRUTH_VALUE;

struct Case {
    const char* transition;  // the state and the input the sequence is about
    std::vector<Operand> operands;
    std::vector<std::int32_t> updates;
    std::vector<bool> ready;
    std::wstring result;
};

}  // namespace

TEST(SwitchTest, EveryTransitionOfBothTables) {
    // States: 0 awaiting a condition, 1 skipping a value, 2 capturing a value, 3 captured. A
    // sequence goes on past the transition until its effect shows in the result.
    const Case cases[] = {
        {"0 true", {L"true", L"V"}, {0, 0}, {false, true}, L"V"},
        // The skipped value is "true", so it must not be taken for a condition.
        {"0 false",
         {L"false", L"true", L"true", L"W"},
         {0, 0, 0, 0},
         {false, false, false, true},
         L"W"},
        {"0 other word", {L"TRUE", L"true", L"V"}, {kNotAWord, 0, 0}, {false, false, true}, L"V"},
        {"1 any text",
         {L"false", L"not a word", L"false", L"X"},
         {0, 0, 0, 0},
         {false, false, false, false},
         L"D"},
        {"2 empty text", {L"true", L""}, {0, 0}, {false, true}, L""},
        {"3 any text",
         {L"true", L"V", L"true", L"W", L"maybe"},
         {0, 0, 0, 0, 0},
         {false, true, true, true, true},
         L"V"},
        {"0 failure",
         {kFailed, L"true", L"true", L"V"},
         {0, 0, 0, 0},
         {false, false, false, true},
         L"V"},
        {"1 failure",
         {L"false", kFailed, L"true", L"V"},
         {0, 0, 0, 0},
         {false, false, false, true},
         L"V"},
        {"2 failure",
         {L"true", kFailed, L"W"},
         {0, PluginSDK::RC_VALUE_ABSENT, 0},
         {false, true, true},
         L""},
        {"3 failure", {L"true", L"V", kFailed}, {0, 0, 0}, {false, true, true}, L"V"},
        // No selection: the default applies.
        {"none", {}, {}, {}, L"D"},
        {"ends in 1", {L"false"}, {0}, {false}, L"D"},
        {"ends in 2", {L"true"}, {0}, {false}, L"D"},
    };
    EXPECT_EQ(feed<Switch>({}, {L"false", L"A"}).result, L"");
    for (const Case& c : cases) {
        const harness::FeedOutcome outcome = feed<Switch>({{L"default", L"D"}}, c.operands);
        EXPECT_EQ(outcome.updates, c.updates) << c.transition;
        EXPECT_EQ(outcome.ready, c.ready) << c.transition;
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS) << c.transition;
        EXPECT_EQ(outcome.result, c.result) << c.transition;
    }
}
