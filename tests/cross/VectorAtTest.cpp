#include "cross/VectorAt.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/VectorTesting.h"
#include "harness/Harness.h"

using CorePlugin::VectorAt;
using harness::feed;
using harness::Operand;

namespace {

constexpr std::int32_t kTooFew = PluginSDK::RC_TOO_FEW_VALUES;
constexpr std::int32_t kAbsent = PluginSDK::RC_INDEX_ABSENT;
constexpr std::int32_t kNotANumber = PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER;

}  // namespace

TEST(VectorAtTest, PicksTheValueAtTheIndexOrLeavesTheResultAlone) {
    struct Case {
        const wchar_t* index;  // null: absent
        std::vector<Operand> operands;
        std::vector<std::int32_t> updates;
        std::vector<bool> ready;
        std::int32_t code;
        std::wstring result;
    };
    const Operand xy = Operand::vector({L"x", L"y"});
    const Case cases[] = {
        {L"2", {L"a", L"b", L"c"}, {0, 0, 0}, {false, true, true}, 0, L"b"},
        {L"3", {xy, L"z"}, {0, 0}, {false, true}, 0, L"z"},
        {L"2", {Operand::vector({}), xy, L"z"}, {0, 0, 0}, {false, true, true}, 0, L"y"},
        {L"3", {L"a", L"b"}, {0, 0}, {false, false}, kTooFew, L"stale"},
        // Counting passes an index of 0 at the first value.
        {L"0", {L"a", xy}, {0, 0}, {false, false}, kTooFew, L"stale"},
        {L"-1", {L"a"}, {0}, {false}, kTooFew, L"stale"},
        // No value offered: "index" is never read and the empty value is the result.
        {L"2", {}, {}, {}, 0, L""},
        {nullptr, {Operand::vector({})}, {0}, {false}, 0, L""},
        {nullptr, {L"a", xy}, {kAbsent, kAbsent}, {false, false}, 0, L""},
        {L"x", {L"a"}, {kNotANumber}, {false}, 0, L""},
        {L"", {L"a"}, {kNotANumber}, {false}, 0, L""},
    };
    for (const Case& c : cases) {
        VectorAt vectorAt;
        if (c.index != nullptr) {
            vectorAt.setProperty(L"index", c.index);
        }
        const harness::FeedOutcome outcome = feed(vectorAt, c.operands);
        const std::wstring index = c.index == nullptr ? L"<absent>" : c.index;
        EXPECT_EQ(outcome.updates, c.updates) << index;
        EXPECT_EQ(outcome.ready, c.ready) << index;
        EXPECT_EQ(outcome.code, c.code) << index;
        EXPECT_EQ(outcome.result, c.result) << index;
    }
}

TEST(VectorAtTest, CountsScalarAndVectorChildrenAsOneStream) {
    // One object throughout, disposed between rounds, with a new index each time.
    VectorAt vectorAt;
    std::mt19937 random(62);
    for (int round = 0; round < 300; ++round) {
        const harness::Texts values = vectortesting::randomTexts(random, 8);
        const std::size_t index =
            std::uniform_int_distribution<std::size_t>(1, values.size() + 1)(random);
        vectorAt.setProperty(L"index", std::to_wstring(index).c_str());
        const harness::FeedOutcome outcome =
            feed(vectorAt, vectortesting::asChildren(values, random));
        if (index <= values.size()) {
            EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
            EXPECT_EQ(outcome.result, values[index - 1]);
            EXPECT_TRUE(vectorAt.isReady());
        } else if (values.empty()) {
            // Nothing was counted, so the count stands at the index never read.
            EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
            EXPECT_EQ(outcome.result, L"");
        } else {
            EXPECT_EQ(outcome.code, kTooFew);
            EXPECT_EQ(outcome.result, L"stale");
            EXPECT_FALSE(vectorAt.isReady());
        }
        vectorAt.disposeExpression();
    }
}

TEST(VectorAtTest, ReadsAnUnusableIndexAgainAtTheNextValue) {
    VectorAt vectorAt;
    vectorAt.setProperty(L"index", L"one");
    EXPECT_EQ(vectorAt.update(PluginSDK::String(L"a")), kNotANumber);
    vectorAt.setProperty(L"index", L"1");
    EXPECT_EQ(feed(vectorAt, {L"b", L"c"}).result, L"b");
}
