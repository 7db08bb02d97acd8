#include "cross/Vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/Sort.h"
#include "cross/VectorTesting.h"
#include "harness/Harness.h"

using CorePlugin::Sort;
using CorePlugin::Vector;
using harness::feed;
using harness::Operand;
using harness::Texts;

TEST(VectorTest, KeepsTheValuesThatMatchTheFilterAsOffered) {
    struct Case {
        harness::Properties properties;
        std::vector<Operand> operands;
        Texts expected;
    };
    const Operand abc[] = {L"abc", L"abcd", L"ABC", L""};
    const Case cases[] = {
        {{}, {}, {}},
        // An absent filter is the empty pattern, which takes only the empty text.
        {{}, {abc[0], abc[3]}, {L""}},
        {{{L"filter", L"*"}},
         {L"a", Operand::vector({L"b", L""}), Operand::vector({})},
         {L"a", L"b", L""}},
        {{{L"filter", L"a?c"}}, {abc[0], abc[1], abc[2]}, {L"abc"}},
        {{{L"filter", L"a?c"}, {L"ignoreCase", L"true"}},
         {abc[0], abc[1], abc[2]},
         {L"abc", L"ABC"}},
        {{{L"filter", L"A?C"}, {L"ignoreCase", L"true"}}, {abc[0], abc[2]}, {L"abc", L"ABC"}},
        {{{L"filter", L"a?c"}, {L"ignoreCase", L"TRUE"}}, {abc[0], abc[2]}, {L"abc"}},
        {{{L"filter", L"*.txt"}},
         {Operand::vector({L"a.txt", L"b.bak", L"c.txt"})},
         {L"a.txt", L"c.txt"}},
        {{{L"filter", L"Mot?rHead*"}},
         {L"Mot\u00f6rHead \U0001F600", L"MotrHead"},
         {L"Mot\u00f6rHead \U0001F600"}},
    };
    for (const Case& c : cases) {
        const harness::FeedOutcome outcome = feed<Vector>(c.properties, c.operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(c.operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(c.operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, c.expected);
    }
}

TEST(VectorTest, ReadsItsPropertiesOncePerEvaluation) {
    Vector vector;
    vector.setProperty(L"filter", L"a*");
    EXPECT_EQ(feed(vector, {L"ab"}).results, Texts{L"ab"});
    vector.setProperty(L"filter", L"b*");
    EXPECT_EQ(feed(vector, {L"ba", L"ab"}).results, (Texts{L"ab", L"ab"}));
    EXPECT_EQ(vector.updateWithError(PluginSDK::RC_VALUE_ABSENT), PluginSDK::RC_NOT_SUPPORTED);
    vector.disposeExpression();
    EXPECT_FALSE(vector.isInitialized());
    EXPECT_EQ(feed(vector, {L"ba", L"ab"}).results, Texts{L"ba"});
}

TEST(SortTest, OrdersLikeStdSortByCodePoint) {
    EXPECT_EQ(feed<Sort>({{L"filter", L"*"}, {L"order", L"desc"}}, {L"b", L"a", L"c"}).results,
              (Texts{L"c", L"b", L"a"}));
    // One object throughout, disposed between rounds as a host reuses a tree.
    Sort sort;
    sort.setProperty(L"filter", L"*");
    std::mt19937 random(61);
    for (int round = 0; round < 300; ++round) {
        const Texts values = vectortesting::randomTexts(random, 12);
        const bool descending = round % 3 == 0;
        if (round % 3 == 2) {
            sort.removeProperty(L"order");
        } else {
            sort.setProperty(L"order", descending ? L"desc" : L"asc");
        }
        Texts expected = values;
        std::sort(expected.begin(), expected.end(), vectortesting::codePointLess);
        if (descending) {
            std::reverse(expected.begin(), expected.end());
        }
        const harness::FeedOutcome outcome = feed(sort, vectortesting::asChildren(values, random));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, expected) << "round " << round;
        sort.disposeExpression();
    }
}

TEST(SortTest, RefusesAnyOtherOrderWithoutSorting) {
    for (const wchar_t* order : {L"ascending", L"ASC", L"Desc", L""}) {
        Sort sort;
        sort.setProperty(L"filter", L"*");
        sort.setProperty(L"order", order);
        const harness::FeedOutcome outcome = feed(sort, {L"b", L"a"});
        EXPECT_EQ(outcome.code, PluginSDK::RC_ORDER_INVALID);
        EXPECT_EQ(outcome.results, Texts{L"stale"});
        EXPECT_EQ(harness::toTexts(sort.values()), (Texts{L"b", L"a"}));
    }
}
