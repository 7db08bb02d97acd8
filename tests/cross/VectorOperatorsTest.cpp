// The operators that take lists: each is fed random lists as a random mix of scalar children and
// list children, as a host hands them over, and checked against an independent model.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/ScalarToVector.h"
#include "cross/Sort.h"
#include "cross/Vector.h"
#include "cross/VectorAt.h"
#include "cross/VectorIterator.h"
#include "cross/VectorToScalar.h"
#include "harness/Harness.h"

using namespace CorePlugin;
using harness::feed;
using harness::Operand;
using harness::Texts;

namespace {

/// 0 to `most` random texts of 0 to 4 characters: both letter cases, a blank, the serialised
/// form's own ';' and '\', and non-ASCII text inside and beyond the Basic Multilingual Plane.
Texts randomTexts(std::mt19937& random, int most) {
    static const std::wstring alphabet = L"aAbZ ;\\\u00f6\u20ac\U0001F600";
    Texts texts(std::uniform_int_distribution<int>(0, most)(random));
    for (std::wstring& text : texts) {
        text.resize(std::uniform_int_distribution<std::size_t>(0, 4)(random));
        for (wchar_t& c : text) {
            c = alphabet[std::uniform_int_distribution<std::size_t>(0,
                                                                    alphabet.size() - 1)(random)];
        }
    }
    return texts;
}

/// `values` in order, as a random mix of scalar children and list children (empty lists too).
std::vector<Operand> asChildren(const Texts& values, std::mt19937& random) {
    std::vector<Operand> children;
    for (std::size_t i = 0; i < values.size();) {
        const std::size_t kind = std::uniform_int_distribution<std::size_t>(0, 3)(random);
        if (kind == 0) {
            children.emplace_back(values[i++]);
            continue;
        }
        const std::size_t end = std::min(values.size(), i + kind - 1);
        children.push_back(
            Operand::vector(Texts(values.begin() + static_cast<std::ptrdiff_t>(i),
                                  values.begin() + static_cast<std::ptrdiff_t>(end))));
        i = end;
    }
    return children;
}

}  // namespace

TEST(VectorTest, KeepsTheValuesThatMatchTheFilterAsOffered) {
    const Operand abc[] = {L"abc", L"abcd", L"ABC", L""};
    const struct {
        harness::Properties properties;
        std::vector<Operand> operands;
        Texts expected;
    } cases[] = {
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
    for (const auto& c : cases) {
        const harness::FeedOutcome outcome = feed<Vector>(c.properties, c.operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(c.operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(c.operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, c.expected);
    }
    // The properties are read once per evaluation.
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

TEST(SortTest, OrdersLikeStdSortByCodePointAndRefusesAnyOtherOrder) {
    // One object throughout, disposed between rounds as a host reuses a tree.
    Sort sort;
    sort.setProperty(L"filter", L"*");
    std::mt19937 random(61);
    for (int round = 0; round < 300; ++round) {
        const Texts values = randomTexts(random, 12);
        const bool descending = round % 3 == 0;
        if (round % 3 == 2) {
            sort.removeProperty(L"order");
        } else {
            sort.setProperty(L"order", descending ? L"desc" : L"asc");
        }
        Texts expected = values;
        std::sort(expected.begin(), expected.end(), [](const auto& left, const auto& right) {
            return std::lexicographical_compare(
                left.begin(), left.end(), right.begin(), right.end(),
                [](wchar_t a, wchar_t b) { return std::uint32_t(a) < std::uint32_t(b); });
        });
        if (descending) {
            std::reverse(expected.begin(), expected.end());
        }
        const harness::FeedOutcome outcome = feed(sort, asChildren(values, random));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, expected) << "round " << round;
        sort.disposeExpression();
    }
    for (const wchar_t* order : {L"ascending", L"ASC", L"Desc", L""}) {
        sort.setProperty(L"order", order);
        const harness::FeedOutcome outcome = feed(sort, {L"b", L"a"});
        EXPECT_EQ(outcome.code, PluginSDK::RC_ORDER_INVALID);
        EXPECT_EQ(outcome.results, Texts{L"stale"});
        EXPECT_EQ(harness::toTexts(sort.values()), (Texts{L"b", L"a"}));
        sort.disposeExpression();
    }
}

// Rows as harness::summary() writes them; -11019 is an index that is not an unsigned number,
// -11034 an absent index, -11035 too few values.
TEST(VectorAtTest, PicksTheValueAtTheIndexOrLeavesTheResultAlone) {
    const Operand xy = Operand::vector({L"x", L"y"});
    const struct {
        const wchar_t* index;  // null: absent
        std::vector<Operand> operands;
        std::wstring summary;
    } cases[] = {
        {L"2", {L"a", L"b", L"c"}, L"0 0+ 0+ => 0:b"},
        {L"2", {Operand::vector({}), xy, L"z"}, L"0 0+ 0+ => 0:y"},
        {L"3", {L"a", L"b"}, L"0 0 => -11035:stale"},
        // Counting passes an index of 0 at the first value.
        {L"0", {L"a", xy}, L"0 0 => -11035:stale"},
        {L"-1", {L"a"}, L"0 => -11035:stale"},
        // No value offered: "index" is never read and the empty value is the result.
        {L"2", {}, L"=> 0:"},
        {nullptr, {Operand::vector({})}, L"0 => 0:"},
        {nullptr, {L"a", xy}, L"-11034 -11034 => 0:"},
        {L"x", {L"a"}, L"-11019 => 0:"},
        {L"", {L"a"}, L"-11019 => 0:"},
    };
    for (const auto& c : cases) {
        VectorAt vectorAt;
        if (c.index != nullptr) {
            vectorAt.setProperty(L"index", c.index);
        }
        EXPECT_EQ(harness::summary(feed(vectorAt, c.operands)), c.summary)
            << (c.index == nullptr ? L"<absent>" : c.index);
    }
    // An unusable index is read again at the next value.
    VectorAt vectorAt;
    vectorAt.setProperty(L"index", L"one");
    EXPECT_EQ(vectorAt.update(PluginSDK::String(L"a")), PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER);
    vectorAt.setProperty(L"index", L"1");
    EXPECT_EQ(feed(vectorAt, {L"b", L"c"}).result, L"b");
}

TEST(VectorAtTest, CountsScalarAndVectorChildrenAsOneStream) {
    // One object throughout, disposed between rounds, with a new index each time.
    VectorAt vectorAt;
    std::mt19937 random(62);
    for (int round = 0; round < 300; ++round) {
        const Texts values = randomTexts(random, 8);
        const std::size_t index =
            std::uniform_int_distribution<std::size_t>(1, values.size() + 1)(random);
        vectorAt.setProperty(L"index", std::to_wstring(index).c_str());
        const harness::FeedOutcome outcome = feed(vectorAt, asChildren(values, random));
        if (index <= values.size()) {
            EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
            EXPECT_EQ(outcome.result, values[index - 1]);
            EXPECT_TRUE(vectorAt.isReady());
        } else if (values.empty()) {
            // Nothing was counted, so the count stands at the index never read.
            EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
            EXPECT_EQ(outcome.result, L"");
        } else {
            EXPECT_EQ(outcome.code, PluginSDK::RC_TOO_FEW_VALUES);
            EXPECT_EQ(outcome.result, L"stale");
            EXPECT_FALSE(vectorAt.isReady());
        }
        vectorAt.disposeExpression();
    }
}

TEST(VectorIteratorTest, NumbersEveryValueFromOne) {
    // One object throughout: after disposeExpression counting starts again at 1.
    VectorIterator iterator;
    for (const std::vector<Operand>& operands : std::vector<std::vector<Operand>>{
             {}, {L"x", L"y", L"z"}, {Operand::vector({L"a", L""}), Operand::vector({}), L""}}) {
        const harness::FeedOutcome outcome = feed(iterator, operands);
        EXPECT_EQ(outcome.updates, std::vector<std::int32_t>(operands.size(), 0));
        EXPECT_EQ(outcome.ready, std::vector<bool>(operands.size(), false));
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.results, operands.empty() ? Texts{} : (Texts{L"1", L"2", L"3"}));
        iterator.disposeExpression();
    }
}

TEST(VectorToScalarTest, CarriesAnyListThroughScalarToVector) {
    // The same two objects throughout, disposed between rounds as a host reuses a tree.
    VectorToScalar toScalar;
    ScalarToVector toVector;
    std::mt19937 random(64);
    for (int round = 0; round < 500; ++round) {
        const Texts values = randomTexts(random, 6);
        const std::vector<Operand> children = asChildren(values, random);
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
    const harness::FeedOutcome second = feed<ScalarToVector>({}, {L"a;", L"b;"});
    EXPECT_EQ(second.updates, (std::vector<std::int32_t>{0, PluginSDK::RC_SECOND_OPERAND}));
    EXPECT_EQ(second.results, Texts{L"a"});
    for (const Operand& list : {Operand::vector({L"a;", L"b;"}), Operand::vector({})}) {
        const harness::FeedOutcome refused = feed<ScalarToVector>({}, {list, L"c;"});
        EXPECT_EQ(refused.updates, (std::vector<std::int32_t>{PluginSDK::RC_SECOND_OPERAND, 0}));
        EXPECT_EQ(refused.ready, (std::vector<bool>{false, true}));
        EXPECT_EQ(refused.results, Texts{L"c"});
    }
    // Never given a value: the elements of the empty text, replacing what the result held.
    EXPECT_EQ(feed<ScalarToVector>({}, {}).results, Texts{});
}
