#include "CatalogRunner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "Catalog.h"
#include "FakeExpressions.h"
#include "ProgressBar.h"

namespace corehost {
namespace {

/// A catalog given as text, run by the fake plug-in into two string streams.
struct Outcome {
    bool succeeded = false;
    std::string out;
    std::string err;
};

Outcome runText(const std::string& text, RunOptions options) {
    fake::FakePlugin plugin;
    plugin.initializePlugin();
    PluginSet plugins;
    plugins.add(plugin, "FakePlugin", "fake");
    Catalog catalog;
    Diagnostic error;
    EXPECT_TRUE(catalog.add(text, "c.rules", error)) << error.format();
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.succeeded = runCatalog(plugins, catalog, options, out, err);
    run.out = out.str();
    run.err = err.str();
    EXPECT_EQ(plugin.liveCount(), 0u);
    return run;
}

// Rules that finish at different speeds, so that parallel runs finish out of order.
std::string mixedCatalog(int rules) {
    std::string text;
    for (int i = 0; i < rules; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 4) {
            case 0:
                text += "r" + n + " = Text(value=v" + n + ")\n";
                break;
            case 1:
                text += "r" + n + " = Collect(List(items=\"" + std::string(i % 50, 'x') +
                        ",b\"), Text(value=" + n + "))\n";
                break;
            case 2:
                text += "r" + n + " = All(Text(value=true), Text(code=-11009))\n";
                break;
            default:
                text += "r" + n + " = Count(" + std::string(i % 7 + 1, ' ') + "Text(), List())\n";
                break;
        }
    }
    return text;
}

// Printing rules in catalog order, with failures on standard error, is corehost's tests' subject.
TEST(CatalogRunnerTest, WritesJsonLinesWithTheRuleName) {
    RunOptions options;
    options.json = true;
    const Outcome run = runText("a = Text(value=yes)\nb = Unbuildable()\n", options);
    EXPECT_FALSE(run.succeeded);
    EXPECT_EQ(run.out,
              "{\"rule\":\"a\",\"status\":0,\"type\":\"scalar\",\"result\":\"yes\"}\n"
              "{\"rule\":\"b\",\"status\":-10008,\"error\":\"unknown expression name\","
              "\"node\":\"Unbuildable@2:5\"}\n");
    EXPECT_EQ(run.err, "");
}

TEST(CatalogRunnerTest, ParallelRunsPrintWhatASingleThreadPrints) {
    const std::string catalog = mixedCatalog(400);
    RunOptions options;
    const Outcome single = runText(catalog, options);
    for (unsigned jobs : {3u, 8u}) {
        options.jobs = jobs;
        const Outcome parallel = runText(catalog, options);
        EXPECT_EQ(parallel.out, single.out) << jobs;
        EXPECT_EQ(parallel.err, single.err) << jobs;
        EXPECT_FALSE(parallel.succeeded);
    }
}

TEST(CatalogRunnerTest, RepeatsEachRuleOnOneInstanceAndReportsTheLastRun) {
    fake::CallLog log;
    fake::FakePlugin plugin(&log);
    plugin.initializePlugin();
    PluginSet plugins;
    plugins.add(plugin, "FakePlugin", "fake");
    Catalog catalog;
    Diagnostic error;
    ASSERT_TRUE(catalog.add("a = Count(id=n, Text(id=t))\nb = Text(id=u)", "c.rules", error));
    RunOptions options;
    options.repeat = 3;
    const RuleOutput output = evaluateRule(plugins, catalog, 0, options);
    EXPECT_EQ(output.out, "a = \"1\"\n");
    EXPECT_TRUE(output.succeeded);
    EXPECT_EQ(log, (fake::CallLog{"t.getScalarResult", "n.update()", "n.getScalarResult",
                                  "n.dispose", "t.dispose", "t.getScalarResult", "n.update()",
                                  "n.getScalarResult", "n.dispose", "t.dispose",
                                  "t.getScalarResult", "n.update()", "n.getScalarResult",
                                  "n.dispose", "t.dispose", "t.destroy", "n.destroy"}));
}

TEST(CatalogRunnerTest, ChecksExpressionNamesBeforeAnythingRuns) {
    Catalog catalog;
    Diagnostic error;
    ASSERT_TRUE(catalog.add("a = Text()\nb = Count(Text(), Nope(), Nada())", "one.rules", error));
    ASSERT_TRUE(catalog.add("c = Zilch()", "two.rules", error));
    EXPECT_FALSE(catalog.checkNames({L"Text", L"Count", L"Nada", L"Zilch"}, error));
    EXPECT_EQ(error.format(), "one.rules:2:19: unknown expression name \"Nope\" (-10008)");
    EXPECT_FALSE(catalog.checkNames({L"Text", L"Count", L"Nope", L"Nada"}, error));
    EXPECT_EQ(error.format(), "two.rules:1:5: unknown expression name \"Zilch\" (-10008)");
    EXPECT_TRUE(catalog.checkNames({L"Text", L"Count", L"Nope", L"Nada", L"Zilch"}, error));
}

// Empty catalogs, rules defined twice and unreadable files are corehost's tests' rows.
TEST(CatalogRunnerTest, RefusesACatalogThatIsNotUtf8) {
    Catalog catalog;
    Diagnostic error;
    EXPECT_FALSE(catalog.add("x = Text(v=\"\xff\")", "bad.rules", error));
    EXPECT_EQ(error.format(), "bad.rules:1:13: invalid UTF-8 sequence starting with byte 0xFF");
}

TEST(CatalogRunnerTest, RedrawsProgressInPlaceOnATerminal) {
    std::ostringstream stream;
    ProgressBar bar(stream, 2000, true);
    bar.update(0);
    bar.update(1);  // too small a step to redraw
    bar.update(2);
    bar.clear();
    bar.update(3);  // drawn again after a clear
    bar.finish();
    EXPECT_EQ(stream.str(),
              "\r[..............................] 0% (0/2000 rules)\x1b[K"
              "\r[..............................] 0% (2/2000 rules)\x1b[K"
              "\r\x1b[K"
              "\r[..............................] 0% (3/2000 rules)\x1b[K"
              "\r\x1b[K");
}

}  // namespace
}  // namespace corehost
