#include "cross/StringCrop.h"

#include <gtest/gtest.h>

#include "cross/StringOperandTesting.h"

using CorePlugin::StringCrop;
using stringoperand::expectTraced;

namespace {

constexpr char kFile[] = "./../../../../src/plugins/CorePlugin/cross/StringCrop.cpp";
constexpr char kValidate[] = "StringCrop::validateProperties()";

// A null mode leaves "seekFrom" unset.
harness::Properties crop(const wchar_t* input, const wchar_t* start, const wchar_t* end,
                         const wchar_t* mode = nullptr) {
    harness::Properties properties = {
        {L"inputString", input}, {L"startString", start}, {L"endString", end}};
    if (mode != nullptr) {
        properties.emplace_back(L"seekFrom", mode);
    }
    return properties;
}

}  // namespace

TEST(StringCropTest, EachModeTakesItsOwnOccurrencesOfTheMarkers) {
    struct Case {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* byDefault;
        const wchar_t* left;
        const wchar_t* right;
    };
    const Case cases[] = {
        {L"key=[a] x=[b]", L"[", L"]", L"a] x=[b", L"a", L"b"},
        {L"key=[a] x=[b]", L"", L"", L"key=[a] x=[b]", L"key=[a] x=[b]", L"key=[a] x=[b]"},
        {L"a.b.c", L".", L".", L"b", L"b", L"b"},
        {L"a.b.c", L".", L"", L"b.c", L"b.c", L"c"},
        {L"a.b.c", L"", L".", L"a.b", L"a", L"a.b"},
        {L"abc", L"b", L"", L"c", L"c", L"c"},
        {L"abc", L"", L"b", L"a", L"a", L"a"},
        {L"abc", L"c", L"", L"", L"", L""},
        {L"ab", L"b", L"a", L"", L"", L""},
        {L"abc", L"x", L"y", L"abc", L"abc", L"abc"},
        {L"", L"[", L"]", L"", L"", L""},
        {L"<<a>>", L"<<", L">>", L"a", L"a", L"a"},
        // Seeking from the right, a start marker that cannot fit before the end position is
        // not found, as in the other modes, rather than taken as found at position 0.
        {L"ab", L"zz", L"", L"ab", L"ab", L"ab"},
        {L"a", L"x", L"y", L"a", L"a", L"a"},
        {L"zzab", L"zz", L"", L"ab", L"ab", L"ab"},
        {L"zz", L"zz", L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        expectTraced<StringCrop>(crop(c.input, c.start, c.end), 0, c.byDefault, {});
        expectTraced<StringCrop>(crop(c.input, c.start, c.end, L""), 0, c.byDefault, {});
        expectTraced<StringCrop>(crop(c.input, c.start, c.end, L"left"), 0, c.left, {});
        expectTraced<StringCrop>(crop(c.input, c.start, c.end, L"right"), 0, c.right, {});
    }
}

TEST(StringCropTest, ValidationReportsAbsentPropertiesThenChecksSeekFromSilently) {
    const harness::TraceMessage noInput{kValidate, 1, kFile, 192, "Unspecified inputString!"};
    const harness::TraceMessage noStart{kValidate, 1, kFile, 196, "Unspecified startString!"};
    const harness::TraceMessage noEnd{kValidate, 1, kFile, 200, "Unspecified endString!"};
    expectTraced<StringCrop>({}, -11051, L"", {noInput, noStart, noEnd});
    expectTraced<StringCrop>({{L"startString", L""}, {L"endString", L""}}, -11038, L"", {noInput});
    expectTraced<StringCrop>({{L"inputString", L"a"}, {L"endString", L""}, {L"seekFrom", L"up"}},
                             -11051, L"", {noStart});
    expectTraced<StringCrop>(crop(L"a", L"", L"", L"Left"), -11039, L"", {});
    expectTraced<StringCrop>(crop(L"a", L"", L"", L"up"), -11039, L"", {});
    stringoperand::expectRecords<StringCrop>(
        crop(L"a[b]", L"[", L"]", L"left"), "StringCrop::StringCrop()",
        "StringCrop::getScalarResult(PluginSDK::String & result)", kValidate,
        "StringCrop::~StringCrop()");
}
