#include "cross/VectorToScalar.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/ScalarToVector.h"
#include "cross/VectorTesting.h"
#include "harness/Harness.h"

using CorePlugin::ScalarToVector;
using CorePlugin::VectorToScalar;
using harness::feed;
using harness::Operand;
using harness::Texts;

TEST(VectorToScalarTest, CarriesAnyListThroughScalarToVector) {
    // The same two objects throughout, disposed between rounds as a host reuses a tree.
    VectorToScalar toScalar;
    ScalarToVector toVector;
    std::mt19937 random(64);
    for (int round = 0; round < 500; ++round) {
        const Texts values =
            round == 0 ? Texts{L"a", L"b", L"c", L"d"} : vectortesting::randomTexts(random, 6);
        const std::vector<Operand> children =
            round == 0 ? std::vector<Operand>{L"a", Operand::vector({L"b", L"c"}), L"d"}
                       : vectortesting::asChildren(values, random);
        const harness::FeedOutcome text = feed(toScalar, children);
        ASSERT_EQ(text.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(text.ready, std::vector<bool>(children.size(), false));
        // A list of one element stands for that element.
        const Operand serialised =
            round % 2 == 0 ? Operand(text.result) : Operand::vector({text.result});
        const harness::FeedOutcome list = feed(toVector, {serialised});
        EXPECT_EQ(list.updates, std::vector<std::int32_t>{0});
        EXPECT_EQ(list.ready, std::vector<bool>{true});
        EXPECT_EQ(list.results, values) << "round " << round;
        toScalar.disposeExpression();
        toVector.disposeExpression();
    }
}

TEST(ScalarToVectorTest, TakesExactlyOneValue) {
    const Operand ab = Operand::vector({L"a;", L"b;"});
    const harness::FeedOutcome second = feed<ScalarToVector>({}, {L"a;", L"b;"});
    EXPECT_EQ(second.updates, (std::vector<std::int32_t>{0, PluginSDK::RC_SECOND_OPERAND}));
    EXPECT_EQ(second.results, Texts{L"a"});
    for (const Operand& list : {ab, Operand::vector({})}) {
        const harness::FeedOutcome refused = feed<ScalarToVector>({}, {list, L"c;"});
        EXPECT_EQ(refused.updates, (std::vector<std::int32_t>{PluginSDK::RC_SECOND_OPERAND, 0}));
        EXPECT_EQ(refused.ready, (std::vector<bool>{false, true}));
        EXPECT_EQ(refused.results, Texts{L"c"});
    }
    // Never given a value: the elements of the empty text, replacing what the result held.
    EXPECT_EQ(feed<ScalarToVector>({}, {}).results, Texts{});
}
