// The operands that cut and search texts. Clip, Contains, StringCrop, StringSlice and Substring
// trace what they refuse, at fixed source positions; Match, ValueOf and FileDirectory answer
// silently.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "cross/Clip.h"
#include "cross/Contains.h"
#include "cross/FileDirectory.h"
#include "cross/Match.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"
#include "cross/ValueOf.h"
#include "harness/Harness.h"

using namespace CorePlugin;
using harness::Properties;

namespace {

using Messages = std::vector<harness::TraceMessage>;

/// An error message at `line` of `operand`'s source file, written in the record `function`.
harness::TraceMessage message(const std::string& operand, const std::string& function, int line,
                              const std::string& text) {
    return {function, 1, "./../../../../src/plugins/CorePlugin/cross/" + operand + ".cpp", line,
            text};
}

harness::TraceMessage result(const std::string& operand, int line, const std::string& text) {
    return message(operand, operand + "::getScalarResult(PluginSDK::String & result)", line, text);
}

harness::TraceMessage validation(const std::string& operand, int line, const std::string& text) {
    return message(operand, operand + "::validateProperties()", line, text);
}

/// `values` under `names`, in order; a null value leaves its property absent.
Properties properties(std::vector<const wchar_t*> names, std::vector<const wchar_t*> values) {
    Properties properties;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] != nullptr) {
            properties.emplace_back(names[i], values[i]);
        }
    }
    return properties;
}

Properties indexed(const wchar_t* input, const wchar_t* start, const wchar_t* end) {
    return properties({L"inputString", L"startIndex", L"endIndex"}, {input, start, end});
}

/// Evaluates a fresh `T` and checks its code, its result (the out-parameter held a stale text
/// before) and every message it traced.
template <class T>
void expectTraced(const Properties& properties, std::int32_t code, const std::wstring& result,
                  const Messages& messages) {
    harness::TraceCapture capture;
    const harness::Outcome outcome = harness::evaluate<T>(properties);
    const std::string context = ::testing::PrintToString(properties);
    EXPECT_EQ(outcome.code, code) << context;
    EXPECT_EQ(outcome.result, result) << context;
    EXPECT_EQ(capture.messages, messages) << context;
}

/// Checks the records of one object's life with one evaluation that passes validation: each
/// traced function opens one record, and validation's lies inside the result operation's.
template <class T>
void expectRecords(const Properties& properties, const std::string& name,
                   const std::string& destructor, const std::string& validation,
                   const std::string& result = "getScalarResult(PluginSDK::String & result)") {
    harness::TraceCapture capture;
    harness::evaluate<T>(properties);
    const std::string records[] = {name + "::" + name + "()", name + "::" + result, validation,
                                   name + "::" + destructor};
    EXPECT_EQ(capture.opened,
              (std::vector<std::string>{records[0], records[1], records[2], records[3]}));
    EXPECT_EQ(capture.closed,
              (std::vector<std::string>{records[0], records[2], records[1], records[3]}));
}

}  // namespace

TEST(ClipTest, CutsBetweenTwoIncludedPositions) {
    const harness::TraceMessage negative =
        result("Clip", 68, "Error: indexes should be >=  than zero");
    const harness::TraceMessage beyond =
        result("Clip", 72, "Error: startIndex or endIndex > inputString length");
    const harness::TraceMessage reversed = result("Clip", 76, "Error: startIndex > endIndex");
    const struct {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* result;
        const harness::TraceMessage* error;
    } cases[] = {
        {L"", L"0", L"0", L"", &beyond},
        {L"\u00e9\U0001F600x", L"1", L"1", L"\U0001F600", nullptr},
        // Index texts read as the runtime reads numbers: blanks, signs and trailing junk are
        // allowed, and numbers beyond 32 bits saturate instead of wrapping into range.
        {L"abcdef", L" 1", L"\t+3 ", L"bcd", nullptr},
        {L"abcdef", L"1x", L"-0", L"bcdef", nullptr},
        {L"abcdef", L"", L"abc", L"abcdef", nullptr},
        {L"abcdef", L"4294967297", L"0", L"", &beyond},
        {L"abcdef", L"0", L"-4294967295", L"", &negative},
        {L"abcdef", L"99999999999999999999", L"2147483647", L"", &beyond},
        {L"abcdef", L"-99999999999999999999", L"0", L"", &negative},
    };
    for (const auto& c : cases) {
        expectTraced<Clip>(indexed(c.input, c.start, c.end), c.error ? -11039 : 0, c.result,
                           c.error ? Messages{*c.error} : Messages{});
    }
    // Every pair of positions: both included, an end of 0 reaching the end of the text; the first
    // broken rule is reported.
    const std::wstring input = L"abcdef";
    for (int start = -2; start <= 7; ++start) {
        for (int end = -2; end <= 7; ++end) {
            const harness::TraceMessage* error = start < 0 || end < 0      ? &negative
                                                 : start > 5 || end > 5    ? &beyond
                                                 : end != 0 && start > end ? &reversed
                                                                           : nullptr;
            expectTraced<Clip>(
                indexed(input.c_str(), std::to_wstring(start).c_str(),
                        std::to_wstring(end).c_str()),
                error ? -11039 : 0,
                error ? L"" : input.substr(start, end == 0 ? std::wstring::npos : end - start + 1),
                error ? Messages{*error} : Messages{});
        }
    }
}

TEST(StringSliceTest, SlicesBetweenPositionsCountedFromEitherEnd) {
    const harness::TraceMessage startNaN =
        result("StringSlice", 76, "Error: startIndex not a number");
    const harness::TraceMessage endNaN = result("StringSlice", 91, "Error: endIndex not a number");
    const struct {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        std::int32_t code;
        const wchar_t* result;
        Messages messages;
    } cases[] = {
        {L"abcdef", L"", L"", 0, L"abcdef", {}},
        {L"abcdef", L"", L"3", 0, L"abc", {}},
        {L"abcdef", L"-2", L"", 0, L"ef", {}},
        {L"abcdef", L"-2147483648", L"2147483647", 0, L"abcdef", {}},
        // A text that is not a number is reported and the default used; blanks and numbers
        // beyond 32 bits are not numbers either, so nothing wraps into range.
        {L"abcdef", L"abc", L"", -11039, L"abcdef", {startNaN}},
        {L"abcdef", L"2", L"x", -11039, L"cdef", {endNaN}},
        {L"abcdef", L" 1", L"3", -11039, L"abc", {startNaN}},
        {L"abcdef", L"4294967297", L"-4294967295", -11039, L"abcdef", {startNaN, endNaN}},
        {L"abcdef", L"--1", L"+", -11039, L"abcdef", {startNaN, endNaN}},
        // With an empty input the positions are not even read.
        {L"", L"abc", L"xyz", 0, L"", {}},
    };
    for (const auto& c : cases) {
        expectTraced<StringSlice>(indexed(c.input, c.start, c.end), c.code, c.result, c.messages);
    }
    // Every pair of positions agrees with slicing at the clamped positions.
    const std::wstring input = L"abcdefg";
    const int n = static_cast<int>(input.size());
    const auto clamp = [n](int position) {
        return std::clamp(position < 0 ? position + n : position, 0, n);
    };
    for (int start = -10; start <= 10; ++start) {
        for (int end = -10; end <= 10; ++end) {
            const int from = clamp(start), to = std::max(clamp(end), from);
            const harness::Outcome outcome = harness::evaluate<StringSlice>(indexed(
                input.c_str(), std::to_wstring(start).c_str(), std::to_wstring(end).c_str()));
            ASSERT_EQ(outcome.code, 0);
            ASSERT_EQ(outcome.result, input.substr(from, to - from)) << start << " / " << end;
        }
    }
}

TEST(ContainsTest, SearchesAtTheStartAtTheEndOrAnywhereWithCase) {
    const struct {
        const wchar_t* searched;
        const wchar_t* position;
        const wchar_t* result;
    } cases[] = {{L"world", L"end", L"true"},        {L"world", L"start", L"false"},
                 {L"world", L"anywhere", L"true"},   {L"lo w", L"middle", L"true"},
                 {L"lo w", L"start", L"false"},      {L"hello", L"start", L"true"},
                 {L"hello", L"END", L"true"},  // not "end": searched anywhere
                 {L"hello", L"", L"true"},           {L"World", L"", L"false"},
                 {L"HELLO", L"start", L"false"},     {L"WORLD", L"end", L"false"},
                 {L"", L"start", L"true"},           {L"", L"end", L"true"},
                 {L"xhello world", L"end", L"false"}};
    for (const auto& c : cases) {
        expectTraced<Contains>(properties({L"inputString", L"searchedString", L"position"},
                                          {L"hello world", c.searched, c.position}),
                               0, c.result, {});
    }
}

TEST(StringCropTest, EachModeTakesItsOwnOccurrencesOfTheMarkers) {
    const struct {
        const wchar_t* input;
        const wchar_t* start;
        const wchar_t* end;
        const wchar_t* byDefault;
        const wchar_t* left;
        const wchar_t* right;
    } cases[] = {
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
    for (const auto& c : cases) {
        for (const auto& [mode, expected] :
             {std::pair<const wchar_t*, const wchar_t*>{nullptr, c.byDefault},
              {L"", c.byDefault},
              {L"left", c.left},
              {L"right", c.right}}) {
            expectTraced<StringCrop>(
                properties({L"inputString", L"startString", L"endString", L"seekFrom"},
                           {c.input, c.start, c.end, mode}),
                0, expected, {});
        }
    }
}

TEST(StringOperandsTest, ValidationReportsEveryAbsentPropertyAndReturnsTheLastCode) {
    const Messages clip = {validation("Clip", 111, "Unspecified inputString!"),
                           validation("Clip", 115, "Unspecified startIndex!"),
                           validation("Clip", 119, "Unspecified endIndex!")};
    expectTraced<Clip>({}, -11051, L"", clip);
    expectTraced<Clip>(indexed(nullptr, L"0", L"0"), -11038, L"", {clip[0]});
    expectTraced<Clip>(indexed(nullptr, L"0", nullptr), -11051, L"", {clip[0], clip[2]});

    const Messages slice = {validation("StringSlice", 152, "Unspecified inputString!"),
                            validation("StringSlice", 156, "Unspecified startIndex!"),
                            validation("StringSlice", 160, "Unspecified endIndex!")};
    expectTraced<StringSlice>(indexed(L"abc", nullptr, nullptr), -11051, L"", {slice[1], slice[2]});
    expectTraced<StringSlice>(indexed(nullptr, L"", L""), -11038, L"", {slice[0]});
    expectTraced<StringSlice>({}, -11051, L"", slice);

    const Messages contains = {validation("Contains", 111, "Unspecified input string!"),
                               validation("Contains", 115, "Unspecified searched string!"),
                               validation("Contains", 119, "Unspecified position!")};
    expectTraced<Contains>({{L"position", L"start"}}, -11038, L"", {contains[0], contains[1]});
    expectTraced<Contains>({{L"inputString", L"a"}, {L"searchedString", L"a"}}, -11052, L"",
                           {contains[2]});
    expectTraced<Contains>({}, -11052, L"", contains);

    // StringCrop checks "seekFrom" only once the rest is present, and silently.
    const Messages crop = {validation("StringCrop", 192, "Unspecified inputString!"),
                           validation("StringCrop", 196, "Unspecified startString!"),
                           validation("StringCrop", 200, "Unspecified endString!")};
    const std::vector<const wchar_t*> names = {L"inputString", L"startString", L"endString",
                                               L"seekFrom"};
    expectTraced<StringCrop>({}, -11051, L"", crop);
    expectTraced<StringCrop>(properties(names, {nullptr, L"", L""}), -11038, L"", {crop[0]});
    expectTraced<StringCrop>(properties(names, {L"a", nullptr, L"", L"up"}), -11051, L"",
                             {crop[1]});
    expectTraced<StringCrop>(properties(names, {L"a", L"", L"", L"Left"}), -11039, L"", {});
    expectTraced<StringCrop>(properties(names, {L"a", L"", L"", L"up"}), -11039, L"", {});
}

TEST(StringOperandsTest, EachTracedFunctionOpensOneRecord) {
    // Contains' destructor record is named without parentheses.
    expectRecords<Clip>(indexed(L"ab", L"0", L"0"), "Clip", "~Clip()",
                        "Clip::validateProperties()");
    expectRecords<StringSlice>(indexed(L"abc", L"1", L""), "StringSlice", "~StringSlice()",
                               "StringSlice::validateProperties()");
    expectRecords<Contains>(
        properties({L"inputString", L"searchedString", L"position"}, {L"a", L"a", L"start"}),
        "Contains", "~Contains", "Contains::validateProperties()");
    expectRecords<StringCrop>(
        properties({L"inputString", L"startString", L"endString", L"seekFrom"},
                   {L"a[b]", L"[", L"]", L"left"}),
        "StringCrop", "~StringCrop()", "StringCrop::validateProperties()");
    // Substring validates in a record opened without a name.
    expectRecords<Substring>({{L"inputString", L"a"}, {L"searchedString", L"a"}}, "Substring",
                             "~Substring()", "", "getVectorResult()");
}

TEST(SubstringTest, AppendsTheNonEmptyLinesThatContainTheText) {
    const harness::TraceMessage incorrect =
        message("Substring", "Substring::getVectorResult()", 103, "Properties are incorrect");
    const harness::TraceMessage noInput = message("Substring", "", 123, "unspecified inputString");
    const harness::TraceMessage noSearched =
        message("Substring", "", 130, "unspecified searchedString");
    const struct {
        const wchar_t* input;  // null: absent
        const wchar_t* searched;
        std::int32_t code;
        harness::Texts lines;
        Messages messages;
    } cases[] = {
        {L"alpha\nbeta\nalphabet", L"alpha", 0, {L"alpha", L"alphabet"}, {}},
        {L"alpha\nbeta\nalphabet", L"x", 0, {}, {}},
        {L"alpha\nbeta\nalphabet", L"Alpha", 0, {}, {}},
        {L"\n\nalpha\n\n\nbeta\n", L"", 0, {L"alpha", L"beta"}, {}},
        {L"one\r\ntwo\r\n", L"o", 0, {L"one\r", L"two\r"}, {}},
        {L"", L"", 0, {}, {}},
        // Validation stops at the first absent property, and the vector is left as it was.
        {nullptr, L"x", PluginSDK::RC_TEXT_PROPERTY_ABSENT, {}, {noInput, incorrect}},
        {nullptr, nullptr, PluginSDK::RC_TEXT_PROPERTY_ABSENT, {}, {noInput, incorrect}},
        {L"x", nullptr, PluginSDK::RC_TEXT_PROPERTY_ABSENT, {}, {noSearched, incorrect}},
    };
    for (const auto& c : cases) {
        Substring expression;
        harness::setProperties(
            expression, properties({L"inputString", L"searchedString"}, {c.input, c.searched}));
        harness::TraceCapture capture;
        const harness::Outcome outcome = harness::result(expression, L"earlier");
        harness::Texts lines = {L"earlier"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.results, lines) << (c.input ? c.input : L"-");
        EXPECT_EQ(capture.messages, c.messages);
    }
    Substring expression;
    expression.setProperty(L"searchedString", L"");
    EXPECT_STREQ(expression.getOptionalProperty(L"searchedString", L"default"), L"");
    EXPECT_STREQ(expression.getOptionalProperty(L"filter", L"default"), L"default");
}

TEST(MatchTest, MatchesTheWholeInputAgainstTheFilterAndFailsSilently) {
    const struct {
        const wchar_t* filter;
        const wchar_t* input;
        const wchar_t* ignoreCase;  // null: absent
        const wchar_t* result;
    } cases[] = {
        {L"*.log", L"system.log", nullptr, L"true"},
        {L"*.log", L"system.LOG", nullptr, L"false"},
        {L"*.log", L"system.LOG", L"true", L"true"},
        {L"*.LOG", L"system.log", L"true", L"true"},
        {L"*.log", L"system.LOG", L"TRUE", L"false"},
        {L"*.log", L"system.LOG", L"yes", L"false"},
        {L"", L"", nullptr, L"true"},
        {L"", L"a", nullptr, L"false"},
        {L"*", L"", nullptr, L"true"},
        {L"*a?b", L"aaab", nullptr, L"false"},
    };
    harness::TraceCapture capture;
    for (const auto& c : cases) {
        Match expression;
        harness::setProperties(expression, properties({L"inputString", L"filter", L"ignoreCase"},
                                                      {c.input, c.filter, c.ignoreCase}));
        const harness::Outcome outcome = harness::result(expression);
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.result, c.result) << c.filter << " / " << c.input;
        // Folding works on copies.
        EXPECT_STREQ(expression.getProperty(L"inputString"), c.input);
    }
    // An absent text fails and keeps the earlier result.
    for (const Properties& absent :
         std::vector<Properties>{{{L"filter", L"*"}}, {{L"inputString", L"a"}}, {}}) {
        const harness::Outcome outcome = harness::evaluate<Match>(absent);
        EXPECT_EQ(outcome.code, PluginSDK::RC_TEXT_PROPERTY_ABSENT);
        EXPECT_EQ(outcome.result, L"stale");
    }
    EXPECT_TRUE(capture.opened.empty());
    EXPECT_TRUE(capture.messages.empty());
}

TEST(ValueOfTest, ReturnsTheValueUnchangedAndReadsItAtEveryEvaluation) {
    for (const wchar_t* value : {L"42", L"", L" padded ", L"Mot\u00f6rHead \U0001F600", L"a\nb"}) {
        const harness::Outcome outcome = harness::evaluate<ValueOf>({{L"value", value}});
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS) << value;
        EXPECT_EQ(outcome.result, value);
    }
    ValueOf expression;
    expression.setProperty(L"value", L"first");
    EXPECT_EQ(harness::result(expression).result, L"first");
    expression.disposeExpression();
    expression.setProperty(L"value", L"second");
    EXPECT_EQ(harness::result(expression).result, L"second");
    // An absent value fails, and the earlier text does not stay in the result.
    expression.removeProperty(L"value");
    expression.setProperty(L"Value", L"wrong case");
    const harness::Outcome absent = harness::result(expression);
    EXPECT_EQ(absent.code, PluginSDK::RC_VALUE_ABSENT);
    EXPECT_EQ(absent.result, L"");
}

TEST(FileDirectoryTest, TakesTheTextBeforeTheLastSeparatorWithoutLookingAtFiles) {
    // No file system is consulted: a path below a regular file still has a directory part.
    const struct {
        const wchar_t* file;
        const wchar_t* directory;
    } cases[] = {{L"/usr/lib/libx.so", L"/usr/lib"},
                 {L"/usr/lib/", L"/usr/lib"},
                 {L"/x", L"/"},
                 {L"/", L"/"},
                 {L"a/b", L"a"},
                 {L"//x", L"/"},
                 {L"a//b", L"a/"},
                 {L"/a/./../b", L"/a/./.."},
                 {L"libx.so", L""},
                 {L"", L""},
                 {L"C:\\dir\\file", L""},
                 {L"/caf\u00e9/\U0001F600.txt", L"/caf\u00e9"},
                 {L"/etc/passwd/x", L"/etc/passwd"}};
    for (const auto& c : cases) {
        const harness::Outcome outcome = harness::evaluate<FileDirectory>({{L"file", c.file}});
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS) << c.file;
        EXPECT_EQ(outcome.result, c.directory) << c.file;
    }
    for (const Properties& absent : {Properties{}, Properties{{L"absolutePath", L"/a/b"}}}) {
        const harness::Outcome outcome = harness::evaluate<FileDirectory>(absent);
        EXPECT_EQ(outcome.code, PluginSDK::RC_ABSOLUTE_PATH_ABSENT);
        EXPECT_EQ(outcome.result, L"");
    }
}
