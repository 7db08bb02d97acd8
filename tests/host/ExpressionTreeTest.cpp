#include "ExpressionTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeExpressions.h"
#include "RuleParser.h"

namespace corehost {
namespace {

using Log = std::vector<std::string>;

/// A fake plug-in, a parsed rule and its instantiated tree, for one test.
class Harness {
public:
    explicit Harness(const std::string& rule) {
        m_Plugin.initializePlugin();
        RuleParser parser(rule, "t");
        EXPECT_TRUE(parser.parseExpression(m_Root)) << parser.error().format();
        m_Plugins.add(m_Plugin, "FakePlugin", "fake");
        m_Tree.emplace(m_Plugins);
        m_Built = m_Tree->instantiate(m_Root);
        m_Log.clear();
    }
    ~Harness() {
        m_Tree.reset();
        EXPECT_EQ(m_Plugin.liveCount(), 0u);
        EXPECT_EQ(m_Plugin.strays(), 0);
    }

    std::int32_t built() const { return m_Built; }
    ExpressionTree& tree() { return *m_Tree; }
    Log& log() { return m_Log; }
    fake::FakePlugin& plugin() { return m_Plugin; }
    void destroy() { m_Tree.reset(); }

    // The calls of the last run, without the disposals that end it.
    Log calls() const {
        Log calls;
        for (const std::string& call : m_Log) {
            if (call.find(".dispose") == std::string::npos) {
                calls.push_back(call);
            }
        }
        return calls;
    }

    std::string scalar() const {
        return fake::narrow(static_cast<const wchar_t*>(m_Tree->root().scalar));
    }

private:
    Log m_Log;
    fake::FakePlugin m_Plugin{&m_Log};
    PluginSet m_Plugins;
    RuleNode m_Root;
    std::optional<ExpressionTree> m_Tree;
    std::int32_t m_Built = 0;
};

TEST(ExpressionTreeTest, FeedsOperatorsChildByChildInOrder) {
    Harness h(
        "All(id=and, Text(id=a, value=true), All(id=inner, Text(id=b, value=true)),"
        " Text(id=c, value=true))");
    ASSERT_EQ(h.built(), 0);
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.scalar(), "true");
    EXPECT_EQ(h.calls(), (Log{"a.getScalarResult", "and.update(true)", "and.isReady=false",
                              "b.getScalarResult", "inner.update(true)", "inner.getScalarResult",
                              "and.update(true)", "and.isReady=false", "c.getScalarResult",
                              "and.update(true)", "and.getScalarResult"}));
}

TEST(ExpressionTreeTest, SkipsTheRemainingChildrenOnceTheOperatorIsReady) {
    Harness h(
        "All(id=and, Text(id=a, value=false), Text(id=b, value=true),"
        " All(id=c, Text(id=d, value=x)))");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.scalar(), "false");
    EXPECT_EQ(h.calls(), (Log{"a.getScalarResult", "and.update(false)", "and.isReady=true",
                              "and.getScalarResult"}));
    const std::vector<TreeNode>& nodes = h.tree().nodes();
    EXPECT_EQ(nodes[1].state, NodeState::Succeeded);
    for (std::size_t i = 2; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i].state, NodeState::Skipped) << i;
    }
}

TEST(ExpressionTreeTest, HandsVectorChildrenToScalarAndVectorOperators) {
    Harness h(
        "Count(id=n, List(id=l, items=\"a,b,c\"), Text(id=t, value=d),"
        " Collect(id=v, List(id=e, items=\"\"), Text(id=u, value=x), List(id=f, items=y)))");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.scalar(), "6");
    EXPECT_EQ(h.calls(),
              (Log{"l.getVectorResult", "n.update([a,b,c])", "n.isReady=false", "t.getScalarResult",
                   "n.update(d)", "n.isReady=false", "e.getVectorResult", "v.update([])",
                   "v.isReady=false", "u.getScalarResult", "v.update(x)", "v.isReady=false",
                   "f.getVectorResult", "v.update([y])", "v.getVectorResult", "n.update([x,y])",
                   "n.getScalarResult"}));
}

TEST(ExpressionTreeTest, AVectorChildOfAnOperatorWithoutListsFailsTheOperator) {
    Harness h("All(id=and, List(id=l, items=true))");
    EXPECT_EQ(h.tree().evaluate(), PluginSDK::RC_NOT_SUPPORTED);
    EXPECT_EQ(h.tree().failure().node, 0u);
    EXPECT_EQ(h.calls(), (Log{"l.getVectorResult"}));
}

TEST(ExpressionTreeTest, AFailedChildFailsItsParentAndStopsTheRun) {
    Harness h(
        "All(id=top, All(id=mid, Text(id=a, code=-11009), Text(id=b, value=true)),"
        " Text(id=c, value=true))");
    EXPECT_EQ(h.tree().evaluate(), PluginSDK::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(h.calls(), (Log{"a.getScalarResult"}));
    const TreeFailure& failure = h.tree().failure();
    EXPECT_EQ(failure.code, PluginSDK::RC_FILE_STATUS_FAILED);
    EXPECT_EQ(failure.node, 2u);
    const std::vector<TreeNode>& nodes = h.tree().nodes();
    EXPECT_EQ(nodes[0].state, NodeState::Failed);
    EXPECT_TRUE(nodes[0].propagated);
    EXPECT_EQ(nodes[1].state, NodeState::Failed);
    EXPECT_EQ(nodes[2].state, NodeState::Failed);
    EXPECT_FALSE(nodes[2].propagated);
    EXPECT_EQ(nodes[3].state, NodeState::NotEvaluated);
    EXPECT_EQ(nodes[4].state, NodeState::NotEvaluated);
}

TEST(ExpressionTreeTest, AnOperatorThatContinuesOnErrorDecidesThroughUpdateWithError) {
    Harness tolerated("First(id=f, Text(id=a, code=-11009), Text(id=b, value=B), Text(id=c))");
    EXPECT_EQ(tolerated.tree().evaluate(), 0);
    EXPECT_EQ(tolerated.scalar(), "B");
    EXPECT_EQ(tolerated.calls(),
              (Log{"a.getScalarResult", "f.updateWithError(-11009)", "f.isReady=false",
                   "b.getScalarResult", "f.update(B)", "f.isReady=true", "f.getScalarResult"}));
    EXPECT_TRUE(tolerated.tree().nodes()[1].handedAsError);
    EXPECT_EQ(tolerated.tree().nodes()[3].state, NodeState::Skipped);

    Harness refused("First(id=f, Text(id=a, code=-11020), Text(id=b, value=B))");
    EXPECT_EQ(refused.tree().evaluate(), PluginSDK::RC_KEY_ABSENT);
    EXPECT_EQ(refused.calls(), (Log{"a.getScalarResult", "f.updateWithError(-11020)"}));
    EXPECT_EQ(refused.tree().failure().node, 0u);  // the verdict is the operator's own
}

TEST(ExpressionTreeTest, AFailingResultOrUpdateIsTheOperatorsOwnFailure) {
    Harness result("Count(id=n, code=-10007, Text(id=a, value=1))");
    EXPECT_EQ(result.tree().evaluate(), PluginSDK::RC_OPERANDS_MISSING);
    EXPECT_EQ(result.tree().failure().node, 0u);
    EXPECT_FALSE(result.tree().nodes()[0].propagated);

    Harness update("All(id=and, Text(id=a, value=maybe), Text(id=b, value=true))");
    EXPECT_EQ(update.tree().evaluate(), PluginSDK::RC_NOT_A_TRUTH_VALUE);
    EXPECT_EQ(update.calls(), (Log{"a.getScalarResult", "and.update(maybe)"}));
    EXPECT_EQ(update.tree().failure().node, 0u);
}

TEST(ExpressionTreeTest, DisposesEveryNodeAfterEachRunSoASecondRunAnswersTheSame) {
    Harness h(
        "Count(id=n, Text(id=a, value=1), All(id=and, Text(id=f, value=false),"
        " Text(id=s, value=true)))");
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.scalar(), "2");
    const Log disposals(h.log().end() - 5, h.log().end());
    EXPECT_EQ(disposals, (Log{"n.dispose", "a.dispose", "and.dispose", "f.dispose", "s.dispose"}));
    const Log first = h.log();
    h.log().clear();
    EXPECT_EQ(h.tree().evaluate(), 0);
    EXPECT_EQ(h.scalar(), "2");
    EXPECT_EQ(h.log(), first);
}

TEST(ExpressionTreeTest, DestroysEveryNodeOnceAtTheEnd) {
    Harness h("Count(id=n, Text(id=a), Collect(id=v, List(id=l)))");
    h.tree().evaluate();
    h.log().clear();
    h.destroy();
    EXPECT_EQ(h.log(), (Log{"l.destroy", "v.destroy", "a.destroy", "n.destroy"}));
    EXPECT_EQ(h.plugin().liveCount(), 0u);
}

TEST(ExpressionTreeTest, ANodeTheFactoryCannotBuildFailsTheTreeWithItsPlace) {
    Harness h("Count(id=n, Text(id=a), Unbuildable(id=u), Text(id=b))");
    EXPECT_EQ(h.built(), PluginSDK::RC_UNKNOWN_EXPRESSION);
    EXPECT_EQ(h.tree().failure().node, 2u);
    EXPECT_EQ(h.tree().nodes()[2].source->position.column, 25u);
    // Nothing is evaluated, however often asked; the nodes built so far are destroyed.
    EXPECT_EQ(h.tree().evaluate(), PluginSDK::RC_UNKNOWN_EXPRESSION);
    EXPECT_TRUE(h.calls().empty());
    EXPECT_EQ(h.plugin().liveCount(), 2u);
}

TEST(ExpressionTreeTest, RefusesOperandsWithChildrenAndUnknownTypes) {
    Harness operand("Text(id=a, Text(id=b))");
    EXPECT_EQ(operand.built(), PluginSDK::RC_NOT_SUPPORTED);
    EXPECT_EQ(operand.tree().failure().detail, "an operand takes no child expressions");

    Harness confused("Count(Confused())");
    EXPECT_EQ(confused.built(), PluginSDK::RC_NOT_SUPPORTED);
    EXPECT_EQ(confused.tree().failure().node, 1u);
    EXPECT_EQ(confused.tree().failure().detail,
              "getType() answered 7, neither scalar (0) nor vector (1)");
}

TEST(ExpressionTreeTest, AllocationFailureFailsTheRuleInsteadOfTheHost) {
    Harness building("Count(id=n, Text(id=a), HungryToBuild())");
    EXPECT_EQ(building.built(), kOutOfMemory);
    EXPECT_EQ(building.tree().failure().node, 2u);

    Harness evaluating("Count(id=n, All(id=and, Hungry(id=h)), Text(id=t))");
    EXPECT_EQ(evaluating.tree().evaluate(), kOutOfMemory);
    EXPECT_EQ(evaluating.tree().failure().node, 2u);
    const std::vector<TreeNode>& nodes = evaluating.tree().nodes();
    EXPECT_EQ(nodes[0].state, NodeState::Failed);
    EXPECT_EQ(nodes[1].state, NodeState::Failed);
    EXPECT_EQ(nodes[3].state, NodeState::NotEvaluated);
    // The run still ends by disposing every node, and the tree can run again.
    const Log disposals(evaluating.log().end() - 4, evaluating.log().end());
    EXPECT_EQ(disposals, (Log{"n.dispose", "and.dispose", "h.dispose", "t.dispose"}));
    EXPECT_EQ(evaluating.tree().evaluate(), kOutOfMemory);
}

TEST(ExpressionTreeTest, NamesTheMeaningOfEveryCode) {
    EXPECT_STREQ(codeMeaning(-11009), "reading a file's status failed");
    EXPECT_STREQ(codeMeaning(-10008), "unknown expression name");
    EXPECT_STREQ(codeMeaning(kOutOfMemory), "out of memory");
    EXPECT_STREQ(codeMeaning(kPluginException), "the plug-in threw an exception");
    EXPECT_STREQ(codeMeaning(-77), "unknown result code");
}

}  // namespace
}  // namespace corehost
