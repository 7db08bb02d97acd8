#include "ExpressionTree.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakeExpressions.h"
#include "Report.h"
#include "RuleParser.h"

namespace corehost {
namespace {

using Log = std::vector<std::string>;

// A fake plug-in, a parsed rule and its instantiated tree, for one test: every node the plug-in
// built must be destroyed, once, with the tree.
class Harness {
public:
    /// The tree of `rule`, evaluated once if `evaluate`; the log starts after that.
    explicit Harness(const std::string& rule, bool evaluate = false) {
        m_Plugin.initializePlugin();
        RuleParser parser(rule, "t");
        EXPECT_TRUE(parser.parseExpression(m_Root)) << parser.error().format();
        m_Plugins.add(m_Plugin, "FakePlugin", "fake");
        m_Tree.emplace(m_Plugins);
        m_Status = m_Tree->instantiate(m_Root);
        if (evaluate) {
            m_Status = m_Tree->evaluate();
        }
        m_Log.clear();
    }
    ~Harness() {
        m_Tree.reset();
        EXPECT_EQ(m_Plugin.liveCount(), 0u);
        EXPECT_EQ(m_Plugin.strays(), 0);
    }

    /// What instantiating, or the evaluation asked for, answered.
    std::int32_t status() const { return m_Status; }
    ExpressionTree& tree() { return *m_Tree; }
    Log& log() { return m_Log; }
    void destroy() { m_Tree.reset(); }

    // Each node's state after the run, in pre-order: s succeeded, f failed, k skipped, n not
    // evaluated, with "^" for a failure passed on from a child and "!" for one handed to the
    // parent's updateWithError.
    std::string states() const {
        std::string states;
        for (const TreeNode& node : m_Tree->nodes()) {
            states += std::string(states.empty() ? "" : " ") +
                      "nsfk"[static_cast<int>(node.state)] + (node.propagated ? "^" : "") +
                      (node.handedAsError ? "!" : "");
        }
        return states;
    }

private:
    Log m_Log;
    fake::FakePlugin m_Plugin{&m_Log};
    PluginSet m_Plugins;
    RuleNode m_Root;
    std::optional<ExpressionTree> m_Tree;
    std::int32_t m_Status = 0;
};

TEST(ExpressionTreeTest, FeedsOperatorsChildByChildUntilTheyAreReadyOrSomethingFails) {
    // `result` is the root's scalar result, or the failed node's index; `states` as states().
    const auto check = [](const std::string& rule, std::int32_t code, const std::string& result,
                          const Log& calls, const std::string& states) {
        SCOPED_TRACE(rule);
        Harness h(rule);
        EXPECT_EQ(h.tree().evaluate(), code);
        EXPECT_EQ(h.tree().failure().code, code);
        EXPECT_EQ(code == 0 ? fake::narrow(h.tree().root().scalar)
                            : std::to_string(h.tree().failure().node),
                  result);
        // Every run ends by disposing every node (see below), so a second run answers the same.
        Log run = h.log();
        std::erase_if(run, [](const std::string& call) { return call.ends_with(".dispose"); });
        EXPECT_EQ(run, calls);
        EXPECT_EQ(h.states(), states);
        const Log first = h.log();
        h.log().clear();
        EXPECT_EQ(h.tree().evaluate(), code);
        EXPECT_EQ(h.log(), first);
    };
    // Once the operator is ready, the remaining children are skipped.
    check(
        "All(id=and, Text(id=a, value=false), Text(id=b, value=true),"
        " All(id=c, Text(id=d, value=x)))",
        0, "false",
        {"a.getScalarResult", "and.update(false)", "and.isReady=true", "and.getScalarResult"},
        "s s k k k");
    // Lists go to scalar and vector operators alike.
    check(
        "Count(id=n, List(id=l, items=\"a,b,c\"), Text(id=t, value=d),"
        " Collect(id=v, List(id=e, items=\"\"), Text(id=u, value=x), List(id=f, items=y)))",
        0, "6",
        {"l.getVectorResult", "n.update([a,b,c])", "n.isReady=false", "t.getScalarResult",
         "n.update(d)", "n.isReady=false", "e.getVectorResult", "v.update([])", "v.isReady=false",
         "u.getScalarResult", "v.update(x)", "v.isReady=false", "f.getVectorResult",
         "v.update([y])", "v.getVectorResult", "n.update([x,y])", "n.getScalarResult"},
        "s s s s s s s");
    // A failed child fails its ancestors and stops the run.
    check(
        "All(id=top, All(id=mid, Text(id=a, code=-11009), Text(id=b, value=true)),"
        " Text(id=c, value=true))",
        PluginSDK::RC_FILE_STATUS_FAILED, "2", {"a.getScalarResult"}, "f^ f^ f n n");
    // An operator that continues on errors decides through updateWithError; a failure it passes
    // over is not the tree's.
    check("First(id=f, Text(id=a, code=-11009), Text(id=b, value=B), Text(id=c))", 0, "B",
          {"a.getScalarResult", "f.updateWithError(-11009)", "f.isReady=false", "b.getScalarResult",
           "f.update(B)", "f.isReady=true", "f.getScalarResult"},
          "s f! s k");
    // A failing update is the operator's own failure.
    check("All(id=and, Text(id=a, value=maybe), Text(id=b, value=true))",
          PluginSDK::RC_NOT_A_TRUTH_VALUE, "0", {"a.getScalarResult", "and.update(maybe)"},
          "f s n");
    // Running out of memory fails the rule instead of the host.
    check("Count(id=n, All(id=and, Hungry(id=h)), Text(id=t))", kOutOfMemory, "2",
          {"h.getScalarResult"}, "f^ f^ f n");
}

TEST(ExpressionTreeTest, DisposesInPreOrderAndDestroysEveryNodeOnceAtTheEnd) {
    Harness h("Count(id=n, Text(id=a, value=1), Collect(id=v, List(id=l)))");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(Log(h.log().end() - 4, h.log().end()),
              (Log{"n.dispose", "a.dispose", "v.dispose", "l.dispose"}));
    h.log().clear();
    h.destroy();
    EXPECT_EQ(h.log(), (Log{"l.destroy", "v.destroy", "a.destroy", "n.destroy"}));
}

TEST(ExpressionTreeTest, ATreeThatCannotBeBuiltFailsWithItsPlaceAndEvaluatesNothing) {
    const struct {
        std::string rule;
        std::int32_t code;
        std::size_t node;
        std::string detail;
    } cases[] = {
        {"Count(Text(), Unbuildable(), Text())", PluginSDK::RC_UNKNOWN_EXPRESSION, 2, ""},
        {"Count(Text(), Nope())", PluginSDK::RC_UNKNOWN_EXPRESSION, 2,
         "no plug-in registered this name"},
        {"Text(Text())", PluginSDK::RC_NOT_SUPPORTED, 0, "an operand takes no child expressions"},
        {"Count(Confused())", PluginSDK::RC_NOT_SUPPORTED, 1,
         "getType() answered 7, neither scalar (0) nor vector (1)"},
        {"Count(Text(), HungryToBuild())", kOutOfMemory, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        Harness h(c.rule);
        EXPECT_EQ(h.status(), c.code);
        EXPECT_EQ(h.tree().failure().node, c.node);
        EXPECT_EQ(h.tree().failure().detail, c.detail);
        EXPECT_EQ(h.tree().evaluate(), c.code);
        EXPECT_TRUE(h.log().empty());
    }
}

TEST(ExpressionTreeTest, AFailureLastsUntilTheNextRun) {
    Harness h("All(Text(value=true), Text(value=true, code=-11009))");
    EXPECT_EQ(h.tree().evaluate(), PluginSDK::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(h.tree().failure().node, 2u);
    h.tree().nodes()[2].expression->setProperty(L"code", L"0");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.tree().failure().code, 0);
    EXPECT_EQ(h.tree().failure().node, 0u);
    EXPECT_EQ(h.states(), "s s s");
}

// How trees are reported. Plain results, JSON and failure messages as corehost prints them are
// tests/cli's rows.

TEST(ReportTest, QuotesTextWithTheRuleLanguagesEscapes) {
    // Characters without a UTF-8 form are shown by number rather than lost.
    const std::wstring surrogate(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(quote(L"caf\u00e9 \"b\\c\nd\re\tf\x01\x7f" + surrogate),
              R"("café \"b\\c\nd\re\tf\u{1}\u{7F}\u{D800}")");
}

TEST(ReportTest, EscapesJsonAndGivesTheHostsDetail) {
    Harness escaped("Text(value=\"q\\\" b\\\\ \\u{1}\\t\\u{7F} \\u{E9}\")", true);
    EXPECT_EQ(
        resultJson(escaped.tree(), 0, nullptr),
        "{\"status\":0,\"type\":\"scalar\",\"result\":\"q\\\" b\\\\ \\u0001\\t\x7F \xC3\xA9\"}");
    Harness operand("Text(Text())", true);
    EXPECT_EQ(resultJson(operand.tree(), operand.status(), nullptr),
              R"({"status":-102,"error":"operation not supported by this expression",)"
              R"("node":"Text@1:1","detail":"an operand takes no child expressions"})");
    EXPECT_EQ(failureMessage(operand.tree(), "<expr>", nullptr),
              "<expr>:1:1: Text failed: -102 operation not supported by this expression (an "
              "operand takes no child expressions)");
}

TEST(ReportTest, ExplainsTheTreeWithResultsFailuresAndSkips) {
    Harness tree(
        "Count(First(Text(code=-11009), Text(value=x), All(Text())), List(items=a),"
        " All(Text(code=-11009)), Text())",
        true);
    EXPECT_EQ(explainText(tree.tree(), "  "),
              "  Count @1:1 failed: -11009 reading a file's status failed (passed on from a "
              "child)\n"
              "  ├─ First @1:7 => \"x\"\n"
              "  │  ├─ Text(code=\"-11009\") @1:13 failed: -11009 reading a file's status "
              "failed; handed to the parent's updateWithError\n"
              "  │  ├─ Text(value=\"x\") @1:32 => \"x\"\n"
              "  │  └─ All @1:47 skipped: the parent was ready\n"
              "  │     └─ Text @1:51 skipped\n"
              "  ├─ List(items=\"a\") @1:61 => [\"a\"]\n"
              "  ├─ All @1:76 failed: -11009 reading a file's status failed (passed on from a "
              "child)\n"
              "  │  └─ Text(code=\"-11009\") @1:80 failed: -11009 reading a file's status failed\n"
              "  └─ Text @1:100 not evaluated\n");
}

TEST(ReportTest, ExplainsTheTreeAsJson) {
    Harness tree("Count(All(Text(value=false), List(items=a)), First(Text(code=-11020)), Text())",
                 true);
    EXPECT_EQ(explainJson(tree.tree()),
              R"({"expression":"Count","position":"1:1","properties":{},"state":"failed",)"
              R"("status":-11020,"error":"\"key\" absent","propagated":true,"children":[)"
              R"({"expression":"All","position":"1:7","properties":{},"state":"succeeded",)"
              R"("type":"scalar","result":"false","children":[)"
              R"({"expression":"Text","position":"1:11","properties":{"value":"false"},)"
              R"("state":"succeeded","type":"scalar","result":"false","children":[]},)"
              R"({"expression":"List","position":"1:30","properties":{"items":"a"},)"
              R"("state":"skipped","children":[]}]},)"
              R"({"expression":"First","position":"1:46","properties":{},"state":"failed",)"
              R"("status":-11020,"error":"\"key\" absent","children":[)"
              R"({"expression":"Text","position":"1:52","properties":{"code":"-11020"},)"
              R"("state":"failed","status":-11020,"error":"\"key\" absent",)"
              R"("passedToUpdateWithError":true,"children":[]}]},)"
              R"({"expression":"Text","position":"1:72","properties":{},)"
              R"("state":"not evaluated","children":[]}]})");
}

}  // namespace
}  // namespace corehost
