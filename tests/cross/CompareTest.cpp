#include "cross/Compare.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "harness/Harness.h"

using CorePlugin::Compare;
using harness::feed;

namespace {

struct Case {
    const wchar_t* type;
    const wchar_t* relation;
    const wchar_t* first;
    const wchar_t* second;
    std::int32_t code;
    const wchar_t* result;
};

std::string describe(const Case& c) {
    std::wstring text =
        std::wstring(c.type) + L" " + c.relation + L" [" + c.first + L"] [" + c.second + L"]";
    return std::string(text.begin(), text.end());
}

}  // namespace

TEST(CompareTest, ComparesAsTheNamedType) {
    constexpr std::int32_t ok = PluginSDK::RC_SUCCESS;
    const Case cases[] = {
        {L"integer", L"lt", L"5", L"10", ok, L"true"},
        {L"string", L"lt", L"5", L"10", ok, L"false"},
        {L"uinteger", L"gt", L"-1", L"1", ok, L"true"},
        {L"integer", L"gt", L"-1", L"1", ok, L"false"},
        {L"uinteger", L"eq", L"-1", L"4294967295", ok, L"true"},
        {L"uinteger", L"eq", L"99999999999", L"4294967295", ok, L"true"},
        {L"version", L"ge", L"1.10", L"1.9", ok, L"true"},
        {L"version", L"eq", L"1.2", L"1.2.0.0", ok, L"true"},
        {L"version", L"le", L"", L"...", ok, L"true"},
        {L"cistring", L"eq", L"Abc", L"aBC", ok, L"true"},
        {L"string", L"eq", L"Abc", L"aBC", ok, L"false"},
        {L"boolean", L"gt", L"true", L"false", ok, L"true"},
        {L"hex", L"eq", L"0xff", L"FF", ok, L"true"},
        {L"hex", L"lt", L"7fffffff", L"0x80000000", ok, L"true"},
        // Refused texts, and the order of the checks.
        {L"boolean", L"eq", L"TRUE", L"true", PluginSDK::RC_INVALID_ARGUMENT, L""},
        {L"integer", L"EQ", L"abc", L"1", PluginSDK::RC_INVALID_ARGUMENT, L""},
        {L"integer", L"EQ", L"1", L"1", PluginSDK::RC_UNKNOWN_RELATION, L""},
        {L"version", L"eq", L"1.2.3.4.5", L"1.a", PluginSDK::RC_INVALID_VERSION, L""},
        {L"hex", L"eq", L"1", L"100000000", PluginSDK::RC_INVALID_ARGUMENT, L""},
        {L"Integer", L"eq", L"1", L"1", PluginSDK::RC_UNKNOWN_TYPE, L""},
        {L"float", L"EQ", L"x", L"y", PluginSDK::RC_UNKNOWN_TYPE, L""},
    };
    for (const Case& c : cases) {
        const harness::FeedOutcome outcome =
            feed<Compare>({{L"type", c.type}, {L"relation", c.relation}}, {c.first, c.second});
        EXPECT_EQ(outcome.updates, (std::vector<std::int32_t>{0, 0})) << describe(c);
        EXPECT_EQ(outcome.ready, (std::vector<bool>{false, true})) << describe(c);
        EXPECT_EQ(outcome.code, c.code) << describe(c);
        EXPECT_EQ(outcome.result, c.result) << describe(c);
    }
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
        if (has(NO_TYPE) && has(UNKNOWN_TYPE))
            continue;
        if (has(NO_RELATION) && has(UNKNOWN_RELATION))
            continue;
        harness::Properties properties;
        if (!has(NO_TYPE)) {
            properties.emplace_back(L"type", has(UNKNOWN_TYPE) ? L"int" : L"integer");
        }
        if (!has(NO_RELATION)) {
            properties.emplace_back(L"relation", has(UNKNOWN_RELATION) ? L"=" : L"le");
        }
        std::vector<harness::Operand> operands = {has(BAD_FIRST) ? L"one" : L"1"};
        if (!has(ONE_OPERAND)) {
            operands.emplace_back(has(BAD_SECOND) ? L"" : L"2");
        }
        std::int32_t expected = PluginSDK::RC_SUCCESS;
        for (int fault = 0; fault < FAULTS; ++fault) {
            if (has(static_cast<Fault>(fault))) {
                expected = codes[fault];
                break;
            }
        }
        const harness::FeedOutcome outcome = feed<Compare>(properties, operands);
        EXPECT_EQ(outcome.code, expected) << "faults " << faults;
        EXPECT_EQ(outcome.result, expected == 0 ? L"true" : L"") << "faults " << faults;
    }
}

TEST(CompareTest, TakesExactlyTwoOperands) {
    const harness::FeedOutcome outcome =
        feed<Compare>({{L"type", L"integer"}, {L"relation", L"lt"}}, {L"5", L"10", L"1", L"abc"});
    EXPECT_EQ(outcome.updates, (std::vector<std::int32_t>{0, 0, PluginSDK::RC_THIRD_OPERAND,
                                                          PluginSDK::RC_THIRD_OPERAND}));
    EXPECT_EQ(outcome.ready, (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(outcome.result, L"true");
}

TEST(CompareTest, ReadsThePropertiesAtEveryResult) {
    Compare compare;
    compare.setProperty(L"type", L"string");
    compare.setProperty(L"relation", L"lt");
    harness::feed(compare, {L"10", L"9"});
    EXPECT_EQ(harness::result(compare).result, L"true");
    compare.setProperty(L"type", L"integer");
    EXPECT_EQ(harness::result(compare).result, L"false");
    compare.setProperty(L"relation", L"ne");
    EXPECT_EQ(harness::result(compare).result, L"true");
    compare.removeProperty(L"relation");
    EXPECT_EQ(harness::result(compare).code, PluginSDK::RC_RELATION_ABSENT);
}
