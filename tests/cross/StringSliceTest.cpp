#include "cross/StringSlice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "cross/StringOperandTesting.h"

using CorePlugin::StringSlice;
using stringoperand::expectTraced;

namespace {

constexpr char kFile[] = "./../../../../src/plugins/CorePlugin/cross/StringSlice.cpp";
constexpr char kResult[] = "StringSlice::getScalarResult(PluginSDK::String & result)";
constexpr char kValidate[] = "StringSlice::validateProperties()";

const harness::TraceMessage kStartNaN{kResult, 1, kFile, 76, "Error: startIndex not a number"};
const harness::TraceMessage kEndNaN{kResult, 1, kFile, 91, "Error: endIndex not a number"};

harness::Properties slice(const std::wstring& input, const std::wstring& start,
                          const std::wstring& end) {
    return {{L"inputString", input}, {L"startIndex", start}, {L"endIndex", end}};
}

}  // namespace

TEST(StringSliceTest, WorkedExamples) {
    struct Case {
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"1", L"4", L"bcd"},    {L"0", L"6", L"abcdef"},
        {L"", L"", L"abcdef"},   {L"2", L"", L"cdef"},
        {L"", L"3", L"abc"},     {L"-2", L"", L"ef"},
        {L"-4", L"-1", L"cde"},  {L"-100", L"2", L"ab"},
        {L"2", L"100", L"cdef"}, {L"3", L"3", L""},
        {L"4", L"2", L""},       {L"6", L"", L""},
        {L"0", L"-100", L""},    {L"-2147483648", L"2147483647", L"abcdef"},
    };
    for (const Case& c : cases) {
        expectTraced<StringSlice>(slice(L"abcdef", c.start, c.end), 0, c.result, {});
    }
}

TEST(StringSliceTest, TextsThatAreNotNumbersAreReportedAndTheDefaultsUsed) {
    // Blanks and numbers beyond 32 bits are not numbers either: nothing wraps into range.
    expectTraced<StringSlice>(slice(L"abcdef", L"abc", L""), -11039, L"abcdef", {kStartNaN});
    expectTraced<StringSlice>(slice(L"abcdef", L"2", L"x"), -11039, L"cdef", {kEndNaN});
    expectTraced<StringSlice>(slice(L"abcdef", L" 1", L"3"), -11039, L"abc", {kStartNaN});
    expectTraced<StringSlice>(slice(L"abcdef", L"4294967297", L"-4294967295"), -11039, L"abcdef",
                              {kStartNaN, kEndNaN});
    expectTraced<StringSlice>(slice(L"abcdef", L"--1", L"+"), -11039, L"abcdef",
                              {kStartNaN, kEndNaN});
    // With an empty input the positions are not even read.
    expectTraced<StringSlice>(slice(L"", L"abc", L"xyz"), 0, L"", {});
}

TEST(StringSliceTest, AgreesWithSlicingAtClampedPositions) {
    const std::wstring input = L"abcdefg";
    const int n = static_cast<int>(input.size());
    auto clamp = [n](int position) {
        return std::clamp(position < 0 ? position + n : position, 0, n);
    };
    for (int start = -10; start <= 10; ++start) {
        for (int end = -10; end <= 10; ++end) {
            const int from = clamp(start);
            const int to = std::max(clamp(end), from);
            const harness::Outcome outcome = harness::evaluate<StringSlice>(
                slice(input, std::to_wstring(start), std::to_wstring(end)));
            ASSERT_EQ(outcome.code, 0);
            ASSERT_EQ(outcome.result, input.substr(from, to - from)) << start << " / " << end;
        }
    }
}

TEST(StringSliceTest, ValidationReportsEveryAbsentPropertyAndReturnsTheLastCode) {
    const harness::TraceMessage noInput{kValidate, 1, kFile, 152, "Unspecified inputString!"};
    const harness::TraceMessage noStart{kValidate, 1, kFile, 156, "Unspecified startIndex!"};
    const harness::TraceMessage noEnd{kValidate, 1, kFile, 160, "Unspecified endIndex!"};
    expectTraced<StringSlice>({{L"inputString", L"abc"}}, -11051, L"", {noStart, noEnd});
    expectTraced<StringSlice>({{L"startIndex", L""}, {L"endIndex", L""}}, -11038, L"", {noInput});
    expectTraced<StringSlice>({}, -11051, L"", {noInput, noStart, noEnd});
    stringoperand::expectRecords<StringSlice>(slice(L"abc", L"1", L""),
                                              "StringSlice::StringSlice()", kResult, kValidate,
                                              "StringSlice::~StringSlice()");
}
