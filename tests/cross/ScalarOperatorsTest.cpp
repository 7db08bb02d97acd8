// What every operator of the scalar and comparison families shares: the protocol slots, and
// reuse after disposeExpression().

#include <gtest/gtest.h>

#include <type_traits>
#include <typeinfo>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/And.h"
#include "cross/BitwiseAnd.h"
#include "cross/BitwiseExclusiveOr.h"
#include "cross/BitwiseInclusiveOr.h"
#include "cross/Compare.h"
#include "cross/Concat.h"
#include "cross/Md5.h"
#include "cross/Not.h"
#include "cross/Or.h"
#include "cross/Switch.h"
#include "harness/Harness.h"

using harness::Operand;

namespace {

const Operand kFailed = Operand::failure(PluginSDK::RC_FILE_STATUS_FAILED);

// Each sequence of `before` leaves an object in another state; disposed, it must then answer
// `after` exactly as a fresh object does.
template <class T>
void checkOperator(const harness::Properties& properties,
                   const std::vector<std::vector<Operand>>& before,
                   const std::vector<Operand>& after) {
    SCOPED_TRACE(typeid(T).name());
    T fresh;
    harness::setProperties(fresh, properties);
    PluginSDK::ScalarOperator& base = fresh;
    constexpr bool isSwitch = std::is_same_v<T, CorePlugin::Switch>;
    EXPECT_TRUE(base.isOperator());
    EXPECT_EQ(base.getType(), PluginSDK::Expression::TYPE_SCALAR);
    EXPECT_FALSE(base.isReady());
    EXPECT_EQ(base.continueOnError(), isSwitch);
    EXPECT_EQ(base.update(PluginSDK::StringVector()), PluginSDK::RC_NOT_SUPPORTED);
    if (!isSwitch) {
        EXPECT_EQ(base.updateWithError(PluginSDK::RC_VALUE_ABSENT), PluginSDK::RC_NOT_SUPPORTED);
    }
    const harness::FeedOutcome expected = harness::feed(fresh, after);
    for (const std::vector<Operand>& operands : before) {
        T reused;
        harness::setProperties(reused, properties);
        harness::feed(reused, operands);
        reused.disposeExpression();
        EXPECT_FALSE(reused.isReady());
        const harness::FeedOutcome outcome = harness::feed(reused, after);
        EXPECT_EQ(outcome.updates, expected.updates);
        EXPECT_EQ(outcome.ready, expected.ready);
        EXPECT_EQ(outcome.code, expected.code);
        EXPECT_EQ(outcome.result, expected.result);
    }
}

}  // namespace

TEST(ScalarOperatorsTest, ProtocolAndReuseAfterDisposeExpression) {
    using namespace CorePlugin;
    checkOperator<And>({}, {{L"false"}, {L"true"}, {L"x"}}, {L"true"});
    checkOperator<Or>({}, {{L"true"}, {L"false"}, {L"x"}}, {L"false"});
    checkOperator<Not>({}, {{L"false"}, {L"true", L"true"}, {L"x"}}, {L"true"});
    const std::vector<std::vector<Operand>> numbers = {{L"7"}, {L"7", L"3", L"1"}, {L"x"}};
    checkOperator<BitwiseAnd>({}, numbers, {L"12", L"10"});
    checkOperator<BitwiseInclusiveOr>({}, numbers, {L"12", L"10"});
    checkOperator<BitwiseExclusiveOr>({}, numbers, {L"12", L"10"});
    checkOperator<Compare>({{L"type", L"integer"}, {L"relation", L"lt"}},
                           {{L"1"}, {L"1", L"2", L"3"}, {L"9", L"1"}}, {L"5", L"10"});
    checkOperator<Switch>({{L"default", L"D"}},
                          {{L"true", L"A"}, {L"true"}, {L"false"}, {L"true", kFailed}, {L"x"}},
                          {L"false", L"B"});
    checkOperator<Concat>({{L"separator", L","}}, {{L"a"}, {L"a", L"b", L""}},
                          {L"", L"c", L"", L"d"});
    checkOperator<Md5>({}, {{L"a"}, {L"abc", L""}}, {L"ab", L"c"});
}
