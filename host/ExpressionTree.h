#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PluginSDK/Plugin.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorOperator.h"
#include "PluginSet.h"
#include "RuleParser.h"

namespace corehost {

/// Codes of failures that the host reports itself, outside the plug-in's table.
enum HostCode : std::int32_t {
    kOutOfMemory = -1,      // the plug-in (or the host) ran out of memory
    kPluginException = -2,  // the plug-in threw something other than std::bad_alloc
};

/// The text the host prints for a result code.
const char* codeMeaning(std::int32_t code);

/// What the last run did with a node.
enum class NodeState : std::uint8_t {
    NotEvaluated,  // not reached: an earlier sibling failed, or the tree was not built
    Succeeded,
    Failed,
    Skipped,  // an ancestor was ready before this subtree's turn
};

/// The four shapes of node the protocol knows, told by isOperator() and getType().
enum class NodeKind : std::uint8_t { ScalarOperand, VectorOperand, ScalarOperator, VectorOperator };

/// One node of an instantiated tree, with what the last run left in it.
struct TreeNode {
    const RuleNode* source = nullptr;
    PluginSDK::Plugin* plugin = nullptr;  // the plug-in that built the expression destroys it
    PluginSDK::Expression* expression = nullptr;
    NodeKind kind = NodeKind::ScalarOperand;
    std::uint32_t end = 0;  // one past the last node of this node's subtree, in pre-order

    NodeState state = NodeState::NotEvaluated;
    bool handedAsError = false;  // its failure went to the parent's updateWithError
    bool propagated = false;     // it failed because a child failed
    std::int32_t code = 0;
    PluginSDK::String scalar;
    PluginSDK::StringVector vector;

    bool isVector() const {
        return kind == NodeKind::VectorOperand || kind == NodeKind::VectorOperator;
    }
    bool isOperator() const {
        return kind == NodeKind::ScalarOperator || kind == NodeKind::VectorOperator;
    }
};

/// Why a tree failed: the code, the node where the failure arose and, rarely, the host's words.
struct TreeFailure {
    std::int32_t code = 0;
    std::size_t node = 0;
    std::string detail;
};

/// A parsed rule instantiated once through the factories of the plug-ins that registered its
/// names, and evaluated by the protocol as often as needed. The RuleNode tree and the plug-ins
/// must outlive it.
class ExpressionTree {
public:
    explicit ExpressionTree(const PluginSet& plugins);
    ~ExpressionTree();

    ExpressionTree(const ExpressionTree&) = delete;
    ExpressionTree& operator=(const ExpressionTree&) = delete;

    /// Creates every node through the factory and sets its properties. Returns 0, or the code of
    /// the first node that could not be built (failure() tells which).
    std::int32_t instantiate(const RuleNode& root);

    /// One run of the protocol from the root, then disposeExpression() on every node. Returns 0
    /// or the failure's code; the nodes keep their states and results until the next run.
    std::int32_t evaluate();

    const std::vector<TreeNode>& nodes() const { return m_Nodes; }
    const TreeNode& root() const { return m_Nodes.front(); }
    const TreeFailure& failure() const { return m_Failure; }

private:
    void flatten(const RuleNode& root);
    std::int32_t fail(std::size_t index, std::int32_t code);
    std::int32_t fail(std::size_t index, std::int32_t code, std::string detail);
    std::int32_t run(std::size_t index);
    template <class Operator>
    std::int32_t feed(Operator& op, std::size_t index);
    void failAncestors(std::size_t index, std::int32_t code);
    void clearFailure() {
        m_Failure.code = 0;
        m_Failure.node = 0;
        m_Failure.detail.clear();
    }
    void dispose();
    void destroy();

    const PluginSet& m_Plugins;
    std::vector<TreeNode> m_Nodes;
    TreeFailure m_Failure;
    std::size_t m_Current = 0;  // the node whose operation runs, for failures that are thrown
    bool m_Built = false;
};

}  // namespace corehost
