#include "ExpressionTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "TreeHarness.h"

namespace corehost {
namespace {

TEST(ExpressionTreeTest, FeedsOperatorsChildByChildUntilTheyAreReadyOrSomethingFails) {
    // `result` is the root's scalar result, or the failed node's index; `states` as states().
    const auto check = [](const std::string& rule, std::int32_t code, const std::string& result,
                          const Log& calls, const std::string& states) {
        SCOPED_TRACE(rule);
        Harness h(rule);
        ASSERT_EQ(h.built(), 0);
        EXPECT_EQ(h.tree().evaluate(), code);
        EXPECT_EQ(code == 0 ? fake::narrow(h.tree().root().scalar)
                            : std::to_string(h.tree().failure().node),
                  result);
        EXPECT_EQ(h.calls(), calls);
        EXPECT_EQ(h.states(), states);
        // Every run ends by disposing every node, so a second run answers the same.
        const Log first = h.log();
        EXPECT_EQ(std::count_if(first.begin(), first.end(),
                                [](const std::string& call) {
                                    return call.find(".dispose") != std::string::npos;
                                }),
                  static_cast<std::ptrdiff_t>(h.tree().nodes().size()));
        h.log().clear();
        EXPECT_EQ(h.tree().evaluate(), code);
        EXPECT_EQ(h.log(), first);
    };
    check(
        "All(id=and, Text(id=a, value=true), All(id=inner, Text(id=b, value=true)),"
        " Text(id=c, value=true))",
        0, "true",
        {"a.getScalarResult", "and.update(true)", "and.isReady=false", "b.getScalarResult",
         "inner.update(true)", "inner.getScalarResult", "and.update(true)", "and.isReady=false",
         "c.getScalarResult", "and.update(true)", "and.getScalarResult"},
        "s s s s s");
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
    // A list for an operator that takes none is the operator's own failure.
    check("All(id=and, List(id=l, items=true))", PluginSDK::RC_NOT_SUPPORTED, "0",
          {"l.getVectorResult"}, "f s");
    // A failed child fails its ancestors and stops the run.
    check(
        "All(id=top, All(id=mid, Text(id=a, code=-11009), Text(id=b, value=true)),"
        " Text(id=c, value=true))",
        PluginSDK::RC_FILE_STATUS_FAILED, "2", {"a.getScalarResult"}, "f^ f^ f n n");
    // An operator that continues on errors decides through updateWithError.
    check("First(id=f, Text(id=a, code=-11009), Text(id=b, value=B), Text(id=c))", 0, "B",
          {"a.getScalarResult", "f.updateWithError(-11009)", "f.isReady=false", "b.getScalarResult",
           "f.update(B)", "f.isReady=true", "f.getScalarResult"},
          "s f! s k");
    check("First(id=f, Text(id=a, code=-11020), Text(id=b, value=B))", PluginSDK::RC_KEY_ABSENT,
          "0", {"a.getScalarResult", "f.updateWithError(-11020)"}, "f f! n");
    // A failing result or update is the operator's own failure.
    check("Count(id=n, code=-10007, Text(id=a, value=1))", PluginSDK::RC_OPERANDS_MISSING, "0",
          {"a.getScalarResult", "n.update(1)", "n.getScalarResult"}, "f s");
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
        std::size_t column;
        std::string detail;
        std::size_t live;  // the nodes built before the failure, destroyed with the tree
    } cases[] = {
        {"Count(id=n, Text(id=a), Unbuildable(id=u), Text(id=b))", PluginSDK::RC_UNKNOWN_EXPRESSION,
         2, 25, "", 2},
        {"Text(id=a, Text(id=b))", PluginSDK::RC_NOT_SUPPORTED, 0, 1,
         "an operand takes no child expressions", 1},
        {"Count(Confused())", PluginSDK::RC_NOT_SUPPORTED, 1, 7,
         "getType() answered 7, neither scalar (0) nor vector (1)", 2},
        {"Count(id=n, Text(id=a), HungryToBuild())", kOutOfMemory, 2, 25, "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        Harness h(c.rule);
        EXPECT_EQ(h.built(), c.code);
        EXPECT_EQ(h.tree().failure().node, c.node);
        EXPECT_EQ(h.tree().nodes()[c.node].source->position.column, c.column);
        EXPECT_EQ(h.tree().failure().detail, c.detail);
        EXPECT_EQ(h.plugin().liveCount(), c.live);
        EXPECT_EQ(h.tree().evaluate(), c.code);
        EXPECT_EQ(h.tree().evaluate(), c.code);
        EXPECT_TRUE(h.calls().empty());
    }
}

TEST(ExpressionTreeTest, AFailureLastsUntilTheNextRun) {
    Harness h("All(id=and, Text(id=a, value=true), Text(id=b, value=true, code=-11009))");
    EXPECT_EQ(h.tree().evaluate(), PluginSDK::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(h.tree().failure().code, PluginSDK::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(h.tree().failure().node, 2u);
    h.tree().nodes()[2].expression->setProperty(L"code", L"0");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.tree().failure().code, 0);
    EXPECT_EQ(h.tree().failure().node, 0u);
    EXPECT_EQ(h.tree().failure().detail, "");
    EXPECT_EQ(h.states(), "s s s");

    // A failure handed to the parent's updateWithError is not the tree's.
    Harness first("First(id=f, Text(id=a, code=-11009), Text(id=b, value=B))");
    EXPECT_EQ(first.tree().evaluate(), 0);
    EXPECT_EQ(first.tree().failure().code, 0);
    EXPECT_EQ(first.tree().failure().node, 0u);
}

TEST(ExpressionTreeTest, NamesTheMeaningOfEveryCode) {
    EXPECT_STREQ(codeMeaning(kPluginException), "the plug-in threw an exception");
    EXPECT_STREQ(codeMeaning(-77), "unknown result code");
}

}  // namespace
}  // namespace corehost
