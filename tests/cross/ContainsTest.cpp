#include "cross/Contains.h"

#include <gtest/gtest.h>

#include "cross/StringOperandTesting.h"

using CorePlugin::Contains;
using stringoperand::expectTraced;

namespace {

constexpr char kFile[] = "./../../../../src/plugins/CorePlugin/cross/Contains.cpp";
constexpr char kValidate[] = "Contains::validateProperties()";

harness::Properties contains(const wchar_t* input, const wchar_t* searched,
                             const wchar_t* position) {
    return {{L"inputString", input}, {L"searchedString", searched}, {L"position", position}};
}

}  // namespace

TEST(ContainsTest, SearchesAtTheStartAtTheEndOrAnywhere) {
    struct Case {
        const wchar_t* searched;
        const wchar_t* position;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"world", L"end", L"true"},
        {L"world", L"start", L"false"},
        {L"world", L"anywhere", L"true"},
        {L"lo w", L"middle", L"true"},
        {L"lo w", L"start", L"false"},
        {L"hello", L"start", L"true"},
        {L"hello", L"END", L"true"},  // not "end": searched anywhere
        {L"hello", L"", L"true"},
        {L"World", L"", L"false"},  // case-sensitive in every mode
        {L"HELLO", L"start", L"false"},
        {L"WORLD", L"end", L"false"},
        {L"", L"start", L"true"},
        {L"", L"end", L"true"},
        {L"xhello world", L"end", L"false"},
    };
    for (const Case& c : cases) {
        expectTraced<Contains>(contains(L"hello world", c.searched, c.position), 0, c.result, {});
    }
}

TEST(ContainsTest, ValidationReportsEveryAbsentPropertyAndReturnsTheLastCode) {
    const harness::TraceMessage noInput{kValidate, 1, kFile, 111, "Unspecified input string!"};
    const harness::TraceMessage noSearched{kValidate, 1, kFile, 115,
                                           "Unspecified searched string!"};
    const harness::TraceMessage noPosition{kValidate, 1, kFile, 119, "Unspecified position!"};
    expectTraced<Contains>({{L"position", L"start"}}, -11038, L"", {noInput, noSearched});
    expectTraced<Contains>({{L"inputString", L"a"}, {L"searchedString", L"a"}}, -11052, L"",
                           {noPosition});
    expectTraced<Contains>({}, -11052, L"", {noInput, noSearched, noPosition});
    // The destructor's record is named without parentheses.
    stringoperand::expectRecords<Contains>(contains(L"a", L"a", L"start"), "Contains::Contains()",
                                           "Contains::getScalarResult(PluginSDK::String & result)",
                                           kValidate, "Contains::~Contains");
}
