#include "CatalogRunner.h"

#include <gtest/gtest.h>

#include <random>
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
        const std::string expressions[] = {
            "Text(value=v" + n + ")",
            "Collect(List(items=\"" + std::string(i % 50, 'x') + ",b\"), Text(value=" + n + "))",
            "All(Text(value=true), Text(code=-11009))",
            "Count(" + std::string(i % 7 + 1, ' ') + "Text(), List())"};
        text += "r" + n + " = " + expressions[i % 4] + "\n";
    }
    return text;
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

std::string describe(const RuleNode& node) {
    std::string text =
        std::string(node.name.begin(), node.name.end()) + "@" + node.position.format() + "(";
    for (const RuleProperty& property : node.properties) {
        text += std::string(property.name.begin(), property.name.end()) + "@" +
                property.position.format() + "=" + std::to_string(property.value.size()) + ",";
    }
    for (const RuleNode& child : node.children) {
        text += describe(child) + ",";
    }
    return text + ")";
}

/// A catalog with the shapes a split can trip on: expressions over several lines whose lines
/// start like a rule, comments, quoted text with '=' and line-break escapes, a byte-order mark,
/// CR LF line ends, ';' between rules; and, in some, one error.
std::string randomCatalog(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string text = pick(8) == 0 ? "\xEF\xBB\xBF" : "";
    const std::string lineEnd = pick(4) == 0 ? "\r\n" : "\n";
    const int rules = 20 + pick(200);
    for (int i = 0; i < rules; ++i) {
        const std::string k = std::to_string(i);
        const std::string n = "r" + k + (pick(3) == 0 ? ".x-" + k : "");
        const std::string shapes[] = {
            n + " = Text(value=v" + k + ")",
            // a continuation line that starts like a rule
            n + "=Count(" + lineEnd + "id=c" + k + "," + lineEnd + "Text(value=\"a = b\\n\"))",
            "# " + n + " = Text()" + lineEnd + n + " =" + lineEnd + "  All(Text(), " + lineEnd +
                "Text(value=\"é\\u{2603}\"))",
            n + " = Collect(List(items=\"x,y\"), Text())  # trailing",
            n + "\t= Text(a=1, b=2, c=3)" + lineEnd, n + " = Nope(Text())"};
        text += shapes[pick(6)];
        text += pick(3) == 0 ? ";" + lineEnd : lineEnd;
    }
    switch (pick(4)) {
        case 0: {  // a character that breaks the syntax, somewhere
            static const char kBreakers[] = {'(', ')', '=', ',', '"', '#', '\n', '9'};
            text[static_cast<std::size_t>(pick(static_cast<int>(text.size())))] =
                kBreakers[pick(sizeof kBreakers)];
            break;
        }
        case 1:  // a rule defined twice
            text += "r" + std::to_string(pick(rules)) + " = Text()" + lineEnd;
            break;
        default:
            break;
    }
    return text;
}

// Checked in parts on several threads, a catalog yields what checking it whole yields: the
// same rules at the same places, the same first error, the same first unknown name.
TEST(CatalogRunnerTest, ChecksACatalogInPartsAsWhole) {
    std::mt19937 random(20261206);
    int failures = 0;
    for (int round = 0; round < 100; ++round) {
        const std::string text = randomCatalog(random);
        Catalog whole;
        Diagnostic wholeError;
        const bool added = whole.add(text, "c.rules", wholeError);
        failures += added ? 0 : 1;
        for (unsigned threads = 2; threads <= 5; ++threads) {
            Catalog parts(threads, 0);
            Diagnostic partsError;
            ASSERT_EQ(parts.add(text, "c.rules", partsError), added) << text;
            if (!added) {
                EXPECT_EQ(partsError.format(), wholeError.format());
                continue;
            }
            ASSERT_EQ(parts.size(), whole.size());
            for (std::size_t rule = 0; rule < whole.size(); ++rule) {
                RuleNode fromWhole;
                RuleNode fromParts;
                ASSERT_TRUE(whole.parse(rule, fromWhole, wholeError));
                ASSERT_TRUE(parts.parse(rule, fromParts, partsError));
                EXPECT_EQ(parts.ruleName(rule), whole.ruleName(rule));
                EXPECT_EQ(parts.rulePosition(rule).format(), whole.rulePosition(rule).format());
                EXPECT_EQ(describe(fromParts), describe(fromWhole));
            }
            const ExpressionNames names{L"Text", L"Count", L"All", L"Collect", L"List"};
            EXPECT_EQ(parts.checkNames(names, partsError), whole.checkNames(names, wholeError));
            EXPECT_EQ(partsError.format(), wholeError.format());
        }
    }
    // Both kinds of catalog were drawn.
    EXPECT_GT(failures, 10);
    EXPECT_LT(failures, 90);
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
