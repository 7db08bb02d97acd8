// The scalar operators: logic, bitwise combination, typed comparison, joining, digests and
// selection. Rows give what the operator answered as harness::summary() writes it: the code of
// each hand-over, "+" where the operator was ready after it, then "=> code:result". The codes:
// -10004 a second operand, -10005 a third one, -10006 not a truth word, -10007 operands missing,
// -11019 not an unsigned number, -11022 a failed child's code as the test hands it over.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
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

using namespace CorePlugin;
using harness::feed;
using harness::Operand;
using harness::summary;

namespace {

struct Case {
    std::vector<Operand> operands;
    std::wstring summary;
};

template <class T>
void check(const harness::Properties& properties, const std::vector<Case>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(summary(feed<T>(properties, cases[i].operands)), cases[i].summary)
            << typeid(T).name() << " case " << i;
    }
}

// What an operator that takes every operand and is never ready answers.
std::wstring takesAll(std::size_t operands, const std::wstring& result) {
    std::wstring text;
    for (std::size_t i = 0; i < operands; ++i) {
        text += L"0 ";
    }
    return text + L"=> 0:" + result;
}

// The protocol slots each operator answers through its base; then each sequence of `before`
// leaves an object in another state and, disposed, it must answer `after` as a fresh object does.
template <class T>
void checkReuse(const harness::Properties& properties,
                const std::vector<std::vector<Operand>>& before,
                const std::vector<Operand>& after) {
    SCOPED_TRACE(typeid(T).name());
    T fresh;
    harness::setProperties(fresh, properties);
    PluginSDK::ScalarOperator& base = fresh;
    constexpr bool isSwitch = std::is_same_v<T, Switch>;
    EXPECT_TRUE(base.isOperator());
    EXPECT_EQ(base.getType(), PluginSDK::Expression::TYPE_SCALAR);
    EXPECT_FALSE(base.isReady());
    EXPECT_EQ(base.continueOnError(), isSwitch);
    EXPECT_EQ(base.update(PluginSDK::StringVector()), PluginSDK::RC_NOT_SUPPORTED);
    if (!isSwitch) {
        EXPECT_EQ(base.updateWithError(PluginSDK::RC_VALUE_ABSENT), PluginSDK::RC_NOT_SUPPORTED);
    }
    const std::wstring expected = summary(feed(fresh, after));
    for (const std::vector<Operand>& operands : before) {
        T reused;
        harness::setProperties(reused, properties);
        feed(reused, operands);
        reused.disposeExpression();
        EXPECT_FALSE(reused.isReady());
        EXPECT_EQ(summary(feed(reused, after)), expected);
    }
}

}  // namespace

TEST(LogicalOperatorsTest, AndOrNot) {
    check<And>({}, {
                       {{}, L"=> 0:true"},
                       {{L"true"}, L"0 => 0:true"},
                       {{L"true", L"false"}, L"0 0+ => 0:false"},
                       {{L"true", L"false", L"true"}, L"0 0+ 0+ => 0:false"},
                       // Once settled, operands are still checked.
                       {{L"false", L"maybe"}, L"0+ -10006+ => 0:false"},
                       {{L"TRUE", L" true", L"1", L"", L"false "},
                        L"-10006 -10006 -10006 -10006 -10006 => 0:true"},
                   });
    check<Or>({}, {
                      {{}, L"=> 0:false"},
                      {{L"false"}, L"0 => 0:false"},
                      {{L"false", L"TRUE"}, L"0 -10006 => 0:false"},
                      {{L"false", L"true", L"false"}, L"0 0+ 0+ => 0:true"},
                      {{L"true", L"x"}, L"0+ -10006+ => 0:true"},
                  });
    check<Not>({}, {
                       {{}, L"=> -10007:"},
                       {{L"true"}, L"0+ => 0:false"},
                       {{L"false"}, L"0+ => 0:true"},
                       {{L"false", L"true"}, L"0+ -10004+ => 0:true"},
                       // The word is checked before the count.
                       {{L"false", L"maybe"}, L"0+ -10006+ => 0:true"},
                       {{L"maybe"}, L"-10006 => -10007:"},
                       {{L"False", L"true"}, L"-10006 0+ => 0:false"},
                   });
}

template <class T, class Reference>
struct Family {
    using Operator = T;
    static std::uint32_t apply(std::uint32_t a, std::uint32_t b) { return Reference()(a, b); }
};

template <class F>
class BitwiseOperatorsTest : public ::testing::Test {};
using Families = ::testing::Types<Family<BitwiseAnd, std::bit_and<std::uint32_t>>,
                                  Family<BitwiseInclusiveOr, std::bit_or<std::uint32_t>>,
                                  Family<BitwiseExclusiveOr, std::bit_xor<std::uint32_t>>>;
TYPED_TEST_SUITE(BitwiseOperatorsTest, Families);

TYPED_TEST(BitwiseOperatorsTest, CombinesTheBitsOfTwoUnsignedNumbersAndRefusesTheRest) {
    using T = typename TypeParam::Operator;
    // Results are the decimal text of the 32 bits read as signed.
    const auto text = [](std::uint32_t value) {
        return std::to_wstring(static_cast<std::int32_t>(value));
    };
    std::mt19937 random(17);
    std::vector<std::uint32_t> values = {0, 1, 5, 10, 12, 2147483647u, 2147483648u, 4294967295u};
    for (int i = 0; i < 40; ++i) {
        values.push_back(static_cast<std::uint32_t>(random()));
    }
    for (std::uint32_t a : values) {
        for (std::uint32_t b : values) {
            const std::wstring expected = L"0 0+ => 0:" + text(TypeParam::apply(a, b));
            // Unsigned decimal text and the signed text that results carry read alike.
            EXPECT_EQ(summary(feed<T>({}, {std::to_wstring(a), std::to_wstring(b)})), expected);
            EXPECT_EQ(summary(feed<T>({}, {text(a), text(b)})), expected) << a << ", " << b;
        }
    }
    // Refusals change nothing, and the count is checked before the text.
    const std::wstring twelveTen = text(TypeParam::apply(12, 10));
    check<T>({}, {
                     {{L"12", L"abc", L"", L"4294967296", L"00", L"10"},
                      L"0 -11019 -11019 -11019 -11019 0+ => 0:" + twelveTen},
                     {{L"12", L"10", L"abc", L"7"}, L"0 0+ -10005+ -10005+ => 0:" + twelveTen},
                     {{}, L"=> -10007:"},
                     {{L"12"}, L"0 => -10007:"},
                 });
    checkReuse<T>({}, {{L"7"}, {L"7", L"3", L"1"}, {L"x"}}, {L"12", L"10"});
}

TEST(CompareTest, ComparesAsTheNamedType) {
    const struct {
        const wchar_t* type;
        const wchar_t* relation;
        const wchar_t* first;
        const wchar_t* second;
        const wchar_t* outcome;
    } cases[] = {
        {L"integer", L"lt", L"5", L"10", L"0:true"},
        {L"string", L"lt", L"5", L"10", L"0:false"},
        {L"uinteger", L"gt", L"-1", L"1", L"0:true"},
        {L"integer", L"gt", L"-1", L"1", L"0:false"},
        {L"uinteger", L"eq", L"-1", L"4294967295", L"0:true"},
        {L"version", L"ge", L"1.10", L"1.9", L"0:true"},
        {L"cistring", L"eq", L"Abc", L"aBC", L"0:true"},
        {L"string", L"eq", L"Abc", L"aBC", L"0:false"},
        {L"boolean", L"gt", L"true", L"false", L"0:true"},
        {L"hex", L"eq", L"0xff", L"FF", L"0:true"},
        // A version's refusal has its own code; type names are case-sensitive.
        {L"version", L"eq", L"1.2.3.4.5", L"1.a", L"-11008:"},
        {L"Integer", L"eq", L"1", L"1", L"-11010:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(summary(feed<Compare>({{L"type", c.type}, {L"relation", c.relation}},
                                        {c.first, c.second})),
                  std::wstring(L"0 0+ => ") + c.outcome)
            << c.type << L" " << c.relation << L" [" << c.first << L"] [" << c.second << L"]";
    }
    // Exactly two operands.
    EXPECT_EQ(summary(feed<Compare>({{L"type", L"integer"}, {L"relation", L"lt"}},
                                    {L"5", L"10", L"1", L"abc"})),
              L"0 0+ -10005+ -10005+ => 0:true");
}

TEST(CompareTest, TheFirstFaultInCheckOrderDecidesTheCode) {
    // Every combination of faults; the expected code is that of the earliest fault in the order
    // the operator checks them.
    enum Fault {
        ONE_OPERAND,
        NO_TYPE,
        NO_RELATION,
        UNKNOWN_TYPE,
        BAD_FIRST,
        BAD_SECOND,
        UNKNOWN_RELATION,
        FAULTS
    };
    const std::int32_t codes[FAULTS] = {
        PluginSDK::RC_OPERANDS_MISSING, PluginSDK::RC_TYPE_ABSENT,
        PluginSDK::RC_RELATION_ABSENT,  PluginSDK::RC_UNKNOWN_TYPE,
        PluginSDK::RC_INVALID_ARGUMENT, PluginSDK::RC_INVALID_ARGUMENT,
        PluginSDK::RC_UNKNOWN_RELATION};
    for (unsigned faults = 0; faults < (1u << FAULTS); ++faults) {
        const auto has = [faults](Fault fault) { return (faults >> fault & 1u) != 0; };
        if ((has(NO_TYPE) && has(UNKNOWN_TYPE)) || (has(NO_RELATION) && has(UNKNOWN_RELATION))) {
            continue;
        }
        harness::Properties properties;
        if (!has(NO_TYPE)) {
            properties.emplace_back(L"type", has(UNKNOWN_TYPE) ? L"int" : L"integer");
        }
        if (!has(NO_RELATION)) {
            properties.emplace_back(L"relation", has(UNKNOWN_RELATION) ? L"=" : L"le");
        }
        std::vector<Operand> operands = {has(BAD_FIRST) ? L"one" : L"1"};
        if (!has(ONE_OPERAND)) {
            operands.emplace_back(has(BAD_SECOND) ? L"" : L"2");
        }
        std::int32_t expected = PluginSDK::RC_SUCCESS;
        for (int fault = FAULTS - 1; fault >= 0; --fault) {
            expected = has(static_cast<Fault>(fault)) ? codes[fault] : expected;
        }
        const harness::FeedOutcome outcome = feed<Compare>(properties, operands);
        EXPECT_EQ(outcome.code, expected) << "faults " << faults;
        EXPECT_EQ(outcome.result, expected == 0 ? L"true" : L"") << "faults " << faults;
    }
}

TEST(CompareTest, ReadsThePropertiesAtEveryResult) {
    Compare compare;
    compare.setProperty(L"type", L"string");
    compare.setProperty(L"relation", L"lt");
    feed(compare, {L"10", L"9"});
    EXPECT_EQ(harness::result(compare).result, L"true");
    compare.setProperty(L"type", L"integer");
    EXPECT_EQ(harness::result(compare).result, L"false");
    compare.setProperty(L"relation", L"ne");
    EXPECT_EQ(harness::result(compare).result, L"true");
    compare.removeProperty(L"relation");
    EXPECT_EQ(harness::result(compare).code, PluginSDK::RC_RELATION_ABSENT);
}

TEST(ConcatTest, JoinsWithTheSeparator) {
    const harness::Properties comma = {{L"separator", L","}};
    const harness::Properties commaAdd = {{L"separator", L","}, {L"ifEmpty", L"add"}};
    const struct {
        harness::Properties properties;
        std::vector<Operand> operands;
        std::wstring result;
    } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(summary(feed<Concat>(c.properties, c.operands)),
                  takesAll(c.operands.size(), c.result));
    }
    // The properties are read once per evaluation: replacing one frees the text it held, and the
    // evaluation keeps its own copy.
    Concat concat;
    concat.setProperty(L"separator", L",");
    EXPECT_EQ(concat.update(PluginSDK::String(L"a")), PluginSDK::RC_SUCCESS);
    concat.setProperty(L"separator", std::wstring(100, L';').c_str());
    concat.setProperty(L"ifEmpty", L"add");
    EXPECT_EQ(concat.update(PluginSDK::String(L"")), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(concat.update(PluginSDK::String(L"b")), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(harness::result(concat).result, L"a,b");
    concat.disposeExpression();
    EXPECT_EQ(harness::result(concat).result, L"");
    concat.setProperty(L"separator", L"+");
    EXPECT_EQ(feed(concat, {L"a", L"", L"b"}).result, L"a++b");
}

TEST(Md5Test, DigestsTheJoinedUtf8TextOfEverythingFedSoFar) {
    const wchar_t abc[] = L"900150983cd24fb0d6963f7d28e17f72";
    const wchar_t replaced[] = L"ff6405018d5ab2642e35fdba389b7c51";  // "a", U+FFFD, "b"
    const struct {
        std::vector<Operand> operands;
        const wchar_t* digest;  // md5sum of the UTF-8 bytes
    } cases[] = {
        {{}, L"d41d8cd98f00b204e9800998ecf8427e"},
        {{L"ab", L"c"}, abc},
        {{L"", L"a", L"", L"bc", L""}, abc},
        {{L"c", L"ab"}, L"16ecfd64586ec6c1ab212762c2c38a90"},
        // Multi-byte characters are digested over their whole UTF-8 form.
        {{L"Mot\u00f6r", L"Head"}, L"1ef05298d9b204130628dba6262eaa67"},
        // A character without a UTF-8 form stands as U+FFFD (EF BF BD).
        {{L"a\xD800", L"b"}, replaced},
        {{L"a", std::wstring(1, static_cast<wchar_t>(0x110000)) + L"b"}, replaced},
        {{L"a\uFFFDb"}, replaced},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(summary(feed<Md5>({}, c.operands)), takesAll(c.operands.size(), c.digest));
    }
    Md5 md5;
    EXPECT_EQ(feed(md5, {L"ab"}).result, L"187ef4436122d1cc2f40dc2b92f0eba0");
    EXPECT_EQ(harness::result(md5).result, L"187ef4436122d1cc2f40dc2b92f0eba0");
    EXPECT_EQ(feed(md5, {L"c"}).result, abc);
}

TEST(SwitchTest, EveryTransitionOfBothTables) {
    // States: 0 awaiting a condition, 1 skipping a value, 2 capturing a value, 3 captured. A
    // sequence goes on past its transition until the effect shows in the result.
    const Operand failed = Operand::failure(PluginSDK::RC_VALUE_ABSENT);
    check<Switch>({{L"default", L"D"}},
                  {
                      {{L"true", L"V"}, L"0 0+ => 0:V"},  // 0 true
                      // 0 false: the skipped value is "true", not taken for a condition
                      {{L"false", L"true", L"true", L"W"}, L"0 0 0 0+ => 0:W"},
                      {{L"TRUE", L"true", L"V"}, L"-10006 0 0+ => 0:V"},  // 0 other word
                      {{L"false", L"not a word", L"false", L"X"}, L"0 0 0 0 => 0:D"},  // 1 any
                      {{L"true", L""}, L"0 0+ => 0:"},  // 2 empty text
                      {{L"true", L"V", L"true", L"W", L"maybe"}, L"0 0+ 0+ 0+ 0+ => 0:V"},  // 3
                      {{failed, L"true", L"true", L"V"}, L"0 0 0 0+ => 0:V"},   // 0 failure
                      {{L"false", failed, L"true", L"V"}, L"0 0 0 0+ => 0:V"},  // 1 failure
                      {{L"true", failed, L"W"}, L"0 -11022+ 0+ => 0:"},         // 2 failure
                      {{L"true", L"V", failed}, L"0 0+ 0+ => 0:V"},             // 3 failure
                      // No selection: the default applies.
                      {{}, L"=> 0:D"},
                      {{L"false"}, L"0 => 0:D"},
                      {{L"true"}, L"0 => 0:D"},
                  });
    EXPECT_EQ(feed<Switch>({}, {L"false", L"A"}).result, L"");
}

TEST(ScalarOperatorsTest, ProtocolAndReuseAfterDisposeExpression) {
    checkReuse<And>({}, {{L"false"}, {L"true"}, {L"x"}}, {L"true"});
    checkReuse<Or>({}, {{L"true"}, {L"false"}, {L"x"}}, {L"false"});
    checkReuse<Not>({}, {{L"false"}, {L"true", L"true"}, {L"x"}}, {L"true"});
    checkReuse<Compare>({{L"type", L"integer"}, {L"relation", L"lt"}},
                        {{L"1"}, {L"1", L"2", L"3"}, {L"9", L"1"}}, {L"5", L"10"});
    checkReuse<Switch>({{L"default", L"D"}},
                       {{L"true", L"A"},
                        {L"true"},
                        {L"false"},
                        {L"true", Operand::failure(PluginSDK::RC_FILE_STATUS_FAILED)},
                        {L"x"}},
                       {L"false", L"B"});
    checkReuse<Concat>({{L"separator", L","}}, {{L"a"}, {L"a", L"b", L""}}, {L"", L"c", L"", L"d"});
    checkReuse<Md5>({}, {{L"a"}, {L"abc", L""}}, {L"ab", L"c"});
}
