#include "cross/Substring.h"

#include <gtest/gtest.h>

#include "PluginSDK/ResultCodes.h"
#include "cross/StringOperandTesting.h"

using CorePlugin::Substring;

namespace {

constexpr char kFile[] = "./../../../../src/plugins/CorePlugin/cross/Substring.cpp";
constexpr char kResult[] = "Substring::getVectorResult()";

// The vector already holds a text when it is handed over: lines are appended after it.
harness::Texts linesAfterEarlier(const harness::Properties& properties, std::int32_t code) {
    Substring expression;
    harness::setProperties(expression, properties);
    const harness::Outcome outcome = harness::result(expression, L"earlier");
    EXPECT_EQ(outcome.code, code);
    EXPECT_EQ(outcome.results.at(0), L"earlier");
    return harness::Texts(outcome.results.begin() + 1, outcome.results.end());
}

}  // namespace

TEST(SubstringTest, ReturnsTheNonEmptyLinesThatContainTheText) {
    struct Case {
        const wchar_t* input;
        const wchar_t* searched;
        harness::Texts lines;
    };
    const std::vector<Case> cases = {
        {L"alpha\nbeta\nalphabet", L"alpha", {L"alpha", L"alphabet"}},
        {L"alpha\nbeta\nalphabet", L"x", {}},
        {L"alpha\nbeta\nalphabet", L"Alpha", {}},
        {L"\n\nalpha\n\n\nbeta\n", L"", {L"alpha", L"beta"}},
        {L"one\r\ntwo\r\n", L"o", {L"one\r", L"two\r"}},
        {L"", L"", {}},
    };
    for (const Case& c : cases) {
        harness::TraceCapture capture;
        const harness::Properties properties = {{L"inputString", c.input},
                                                {L"searchedString", c.searched}};
        EXPECT_EQ(linesAfterEarlier(properties, 0), c.lines) << c.input << " / " << c.searched;
        EXPECT_TRUE(capture.messages.empty());
    }
}

TEST(SubstringTest, AFailedValidationWritesTwoMessagesAndLeavesTheVector) {
    const harness::TraceMessage incorrect{kResult, 1, kFile, 103, "Properties are incorrect"};
    // Validation stops at the first absent property, in a record opened without a name.
    const harness::TraceMessage noInput{"", 1, kFile, 123, "unspecified inputString"};
    const harness::TraceMessage noSearched{"", 1, kFile, 130, "unspecified searchedString"};
    const std::vector<std::pair<harness::Properties, harness::TraceMessage>> cases = {
        {{{L"searchedString", L"x"}}, noInput},
        {{}, noInput},
        {{{L"inputString", L"x"}}, noSearched}};
    for (const auto& [properties, validation] : cases) {
        harness::TraceCapture capture;
        EXPECT_TRUE(linesAfterEarlier(properties, PluginSDK::RC_TEXT_PROPERTY_ABSENT).empty());
        EXPECT_EQ(capture.messages, (stringoperand::Messages{validation, incorrect}));
    }
    stringoperand::expectRecords<Substring>({{L"inputString", L"a"}, {L"searchedString", L"a"}},
                                            "Substring::Substring()", kResult, "",
                                            "Substring::~Substring()");
}

TEST(SubstringTest, OptionalPropertiesFallBackToTheDefault) {
    Substring expression;
    expression.setProperty(L"searchedString", L"");
    EXPECT_STREQ(expression.getOptionalProperty(L"searchedString", L"default"), L"");
    EXPECT_STREQ(expression.getOptionalProperty(L"filter", L"default"), L"default");
}
