#include "cross/VectorIterator.h"

#include <gtest/gtest.h>

#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::VectorIterator;
using harness::feed;
using harness::Operand;
using harness::Texts;

TEST(VectorIteratorTest, NumbersEveryValueFromOne) {
    const std::vector<std::vector<Operand>> children = {
        {},
        {L"x", L"y", L"z"},
        {Operand::vector({L"a", L""}), Operand::vector({}), L""},
    };
    // One object throughout: after disposeExpression counting starts again at 1.
    VectorIterator iterator;
    for (const std::vector<Operand>& operands : children) {
        const harness::FeedOutcome outcome = feed(iterator, operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, operands.empty() ? Texts{} : (Texts{L"1", L"2", L"3"}));
        iterator.disposeExpression();
    }
}
