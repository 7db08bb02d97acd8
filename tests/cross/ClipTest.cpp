#include "cross/Clip.h"

#include <gtest/gtest.h>

#include "cross/StringOperandTesting.h"

using CorePlugin::Clip;
using stringoperand::expectTraced;

namespace {

constexpr char kFile[] = "./../../../../src/plugins/CorePlugin/cross/Clip.cpp";
constexpr char kResult[] = "Clip::getScalarResult(PluginSDK::String & result)";
constexpr char kValidate[] = "Clip::validateProperties()";

const harness::TraceMessage kNegative{kResult, 1, kFile, 68,
                                      "Error: indexes should be >=  than zero"};
const harness::TraceMessage kBeyond{kResult, 1, kFile, 72,
                                    "Error: startIndex or endIndex > inputString length"};
const harness::TraceMessage kReversed{kResult, 1, kFile, 76, "Error: startIndex > endIndex"};

}  // namespace

TEST(ClipTest, CutsBetweenTwoIncludedPositions) {
    struct Case {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* result;
        const harness::TraceMessage* error;
    };
    const Case cases[] = {
        {L"abcdef", L"1", L"3", L"bcd", nullptr},
        {L"abcdef", L"2", L"0", L"cdef", nullptr},
        {L"abcdef", L"0", L"0", L"abcdef", nullptr},
        {L"abcdef", L"3", L"3", L"d", nullptr},
        {L"abcdef", L"5", L"0", L"f", nullptr},
        {L"abcdef", L"6", L"0", L"", &kBeyond},
        {L"abcdef", L"0", L"6", L"", &kBeyond},
        {L"abcdef", L"4", L"2", L"", &kReversed},
        {L"abcdef", L"-1", L"100", L"", &kNegative},  // the first broken rule is reported
        {L"", L"0", L"0", L"", &kBeyond},
        {L"\u00e9\U0001F600x", L"1", L"1", L"\U0001F600", nullptr},
        // Index texts read as the runtime reads numbers: blanks, signs and trailing junk are
        // allowed, and numbers beyond 32 bits saturate instead of wrapping into range.
        {L"abcdef", L" 1", L"\t+3 ", L"bcd", nullptr},
        {L"abcdef", L"1x", L"-0", L"bcdef", nullptr},
        {L"abcdef", L"", L"abc", L"abcdef", nullptr},
        {L"abcdef", L"4294967297", L"0", L"", &kBeyond},
        {L"abcdef", L"0", L"-4294967295", L"", &kNegative},
        {L"abcdef", L"99999999999999999999", L"2147483647", L"", &kBeyond},
        {L"abcdef", L"-99999999999999999999", L"0", L"", &kNegative},
    };
    for (const Case& c : cases) {
        expectTraced<Clip>(
            {{L"inputString", c.input}, {L"startIndex", c.start}, {L"endIndex", c.end}},
            c.error ? -11039 : 0, c.result,
            c.error ? stringoperand::Messages{*c.error} : stringoperand::Messages{});
    }
}

TEST(ClipTest, ValidationReportsEveryAbsentPropertyAndReturnsTheLastCode) {
    const harness::TraceMessage noInput{kValidate, 1, kFile, 111, "Unspecified inputString!"};
    const harness::TraceMessage noStart{kValidate, 1, kFile, 115, "Unspecified startIndex!"};
    const harness::TraceMessage noEnd{kValidate, 1, kFile, 119, "Unspecified endIndex!"};
    expectTraced<Clip>({}, -11051, L"", {noInput, noStart, noEnd});
    expectTraced<Clip>({{L"startIndex", L"0"}, {L"endIndex", L"0"}}, -11038, L"", {noInput});
    expectTraced<Clip>({{L"startIndex", L"0"}}, -11051, L"", {noInput, noEnd});
    // Present but empty counts as present.
    expectTraced<Clip>({{L"inputString", L""}, {L"startIndex", L""}, {L"endIndex", L""}}, -11039,
                       L"", {kBeyond});
    stringoperand::expectRecords<Clip>(
        {{L"inputString", L"ab"}, {L"startIndex", L"0"}, {L"endIndex", L"0"}}, "Clip::Clip()",
        kResult, kValidate, "Clip::~Clip()");
}
