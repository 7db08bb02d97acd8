#include "Report.h"

#include <gtest/gtest.h>

#include <string>

#include "TreeHarness.h"

namespace corehost {
namespace {

TEST(ReportTest, QuotesTextWithTheRuleLanguagesEscapes) {
    EXPECT_EQ(quote(L""), "\"\"");
    EXPECT_EQ(quote(L"plain caf\u00e9"), "\"plain caf\xc3\xa9\"");
    EXPECT_EQ(quote(L"a\"b\\c\nd\re\tf"), R"("a\"b\\c\nd\re\tf")");
    EXPECT_EQ(quote(std::wstring(L"\x01\x7f")), R"("\u{1}\u{7F}")");
    // Characters without a UTF-8 form are shown by number rather than lost.
    EXPECT_EQ(quote(std::wstring(1, static_cast<wchar_t>(0xD800))), R"("\u{D800}")");
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xef\xbf\xbd");
}

// Plain lists, empty ones included, are corehost's tests' rows.
TEST(ReportTest, PrintsPlainAndQuotedResults) {
    Evaluated scalar(R"(Text(value="two\nlines"))");
    EXPECT_EQ(plainResult(scalar.tree().root()), "two\nlines\n");
    EXPECT_EQ(quotedResult(scalar.tree().root()), R"("two\nlines")");
    Evaluated vector("List(items=\"a,,b\")");
    EXPECT_EQ(quotedResult(vector.tree().root()), R"(["a", "", "b"])");
    Evaluated empty("List()");
    EXPECT_EQ(quotedResult(empty.tree().root()), "[]");
}

TEST(ReportTest, WritesResultsAndFailuresAsJson) {
    Evaluated scalar("Text(value=true)");
    EXPECT_EQ(resultJson(scalar.tree(), 0, nullptr),
              R"({"status":0,"type":"scalar","result":"true"})");
    Evaluated escaped("Text(value=\"q\\\" b\\\\ \\u{1}\\t\\u{7F} \\u{E9}\")");
    EXPECT_EQ(
        resultJson(escaped.tree(), 0, nullptr),
        "{\"status\":0,\"type\":\"scalar\",\"result\":\"q\\\" b\\\\ \\u0001\\t\x7F \xC3\xA9\"}");
    Evaluated vector("List(items=\"a,b\")");
    const std::string rule = "r1";
    EXPECT_EQ(resultJson(vector.tree(), 0, &rule),
              R"({"rule":"r1","status":0,"type":"vector","result":["a","b"]})");
    Evaluated failed("All(\n  Text(value=true), Text(code=-11009))");
    EXPECT_EQ(resultJson(failed.tree(), failed.status(), nullptr),
              R"({"status":-11009,"error":"reading a file's status failed","node":"Text@2:21"})");
    EXPECT_EQ(failureMessage(failed.tree(), "f.rules", &rule),
              "f.rules:2:21: rule r1: Text failed: -11009 reading a file's status failed");
    Evaluated operand("Text(Text())");
    EXPECT_EQ(resultJson(operand.tree(), operand.status(), nullptr),
              R"({"status":-102,"error":"operation not supported by this expression",)"
              R"("node":"Text@1:1","detail":"an operand takes no child expressions"})");
    EXPECT_EQ(failureMessage(operand.tree(), "<expr>", nullptr),
              "<expr>:1:1: Text failed: -102 operation not supported by this expression (an "
              "operand takes no child expressions)");
}

TEST(ReportTest, ExplainsTheTreeWithResultsFailuresAndSkips) {
    Evaluated tree(
        "Count(First(Text(code=-11009), Text(value=\"x y\"), Text()),"
        " All(Text(value=false), All(Text(value=true))), List(items=\"a,b\"))");
    EXPECT_EQ(explainText(tree.tree()),
              "Count @1:1 => \"4\"\n"
              "├─ First @1:7 => \"x y\"\n"
              "│  ├─ Text(code=\"-11009\") @1:13 failed: -11009 reading a file's status failed; "
              "handed to the parent's updateWithError\n"
              "│  ├─ Text(value=\"x y\") @1:32 => \"x y\"\n"
              "│  └─ Text @1:51 skipped: the parent was ready\n"
              "├─ All @1:60 => \"false\"\n"
              "│  ├─ Text(value=\"false\") @1:64 => \"false\"\n"
              "│  └─ All @1:83 skipped: the parent was ready\n"
              "│     └─ Text(value=\"true\") @1:87 skipped\n"
              "└─ List(items=\"a,b\") @1:107 => [\"a\", \"b\"]\n");
    Evaluated failed("All(All(Text(code=-11009)), Text())");
    EXPECT_EQ(explainText(failed.tree(), "  "),
              "  All @1:1 failed: -11009 reading a file's status failed (passed on from a child)\n"
              "  ├─ All @1:5 failed: -11009 reading a file's status failed (passed on from a "
              "child)\n"
              "  │  └─ Text(code=\"-11009\") @1:9 failed: -11009 reading a file's status failed\n"
              "  └─ Text @1:29 not evaluated\n");
}

TEST(ReportTest, ExplainsTheTreeAsJson) {
    Evaluated tree("All(Text(value=false), List(items=a))");
    EXPECT_EQ(explainJson(tree.tree()),
              R"({"expression":"All","position":"1:1","properties":{},"state":"succeeded",)"
              R"("type":"scalar","result":"false","children":[)"
              R"({"expression":"Text","position":"1:5","properties":{"value":"false"},)"
              R"("state":"succeeded","type":"scalar","result":"false","children":[]},)"
              R"({"expression":"List","position":"1:24","properties":{"items":"a"},)"
              R"("state":"skipped","children":[]}]})");
    Evaluated failed("First(Text(code=-11020))");
    EXPECT_EQ(
        dumpJson(nlohmann::ordered_json::parse(explainJson(failed.tree()))["children"][0]),
        R"({"expression":"Text","position":"1:7","properties":{"code":"-11020"},)"
        R"("state":"failed","status":-11020,"error":"\"key\" absent","passedToUpdateWithError":true,)"
        R"("children":[]})");
}

}  // namespace
}  // namespace corehost
