#include "ExpressionTree.h"

#include <exception>
#include <new>
#include <utility>

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/VectorExpression.h"

namespace corehost {

namespace {

std::uint32_t countNodes(const RuleNode& node) {
    std::uint32_t count = 1;
    for (const RuleNode& child : node.children) {
        count += countNodes(child);
    }
    return count;
}

}  // namespace

const char* codeMeaning(std::int32_t code) {
    switch (code) {
        case kOutOfMemory:
            return "out of memory";
        case kPluginException:
            return "the plug-in threw an exception";
        default:
            break;
    }
    const char* meaning = PluginSDK::resultCodeMeaning(code);
    return meaning != nullptr ? meaning : "unknown result code";
}

ExpressionTree::ExpressionTree(const PluginSet& plugins) : m_Plugins(plugins) {}

ExpressionTree::~ExpressionTree() {
    destroy();
}

void ExpressionTree::flatten(const RuleNode& root) {
    m_Nodes.resize(countNodes(root));
    // Pre-order with an explicit stack: a node's subtree is the range [index, end).
    std::vector<std::pair<const RuleNode*, std::size_t>> pending{{&root, 0}};
    std::size_t next = 0;
    while (!pending.empty()) {
        auto [source, child] = pending.back();
        if (child == 0) {
            m_Nodes[next].source = source;
            ++next;
        }
        if (child < source->children.size()) {
            pending.back().second = child + 1;
            pending.emplace_back(&source->children[child], 0);
            continue;
        }
        pending.pop_back();
    }
    for (std::size_t index = m_Nodes.size(); index-- > 0;) {
        std::size_t end = index + 1;
        for (std::size_t child = 0; child < m_Nodes[index].source->children.size(); ++child) {
            end = m_Nodes[end].end;
        }
        m_Nodes[index].end = static_cast<std::uint32_t>(end);
    }
}

std::int32_t ExpressionTree::fail(std::size_t index, std::int32_t code) {
    // The common failure, a code without the host's words: the detail's storage is kept.
    m_Nodes[index].state = NodeState::Failed;
    m_Nodes[index].code = code;
    m_Failure.code = code;
    m_Failure.node = index;
    m_Failure.detail.clear();
    return code;
}

std::int32_t ExpressionTree::fail(std::size_t index, std::int32_t code, std::string detail) {
    m_Nodes[index].state = NodeState::Failed;
    m_Nodes[index].code = code;
    m_Failure = {code, index, std::move(detail)};
    return code;
}

std::int32_t ExpressionTree::instantiate(const RuleNode& root) {
    destroy();
    m_Nodes.clear();
    m_Failure = {};
    m_Built = false;
    flatten(root);
    for (std::size_t index = 0; index < m_Nodes.size(); ++index) {
        TreeNode& node = m_Nodes[index];
        const RuleNode& source = *node.source;
        PluginSDK::Plugin* plugin = m_Plugins.find(source.name);
        if (plugin == nullptr) {
            return fail(index, PluginSDK::RC_UNKNOWN_EXPRESSION, "no plug-in registered this name");
        }
        try {
            PluginSDK::Expression* expression = nullptr;
            const std::int32_t code = plugin->createExpression(source.name.c_str(), &expression);
            if (code != PluginSDK::RC_SUCCESS) {
                return fail(index, code);
            }
            if (expression == nullptr) {
                return fail(index, PluginSDK::RC_UNKNOWN_EXPRESSION,
                            "the factory reported success but built nothing");
            }
            node.plugin = plugin;
            node.expression = expression;
            for (const RuleProperty& property : source.properties) {
                expression->setProperty(property.name.c_str(), property.value.c_str());
            }
            const bool isOperator = expression->isOperator();
            const std::int32_t type = expression->getType();
            if (type != PluginSDK::Expression::TYPE_SCALAR &&
                type != PluginSDK::Expression::TYPE_VECTOR) {
                return fail(index, PluginSDK::RC_NOT_SUPPORTED,
                            "getType() answered " + std::to_string(type) +
                                ", neither scalar (0) nor vector (1)");
            }
            const bool isVector = type == PluginSDK::Expression::TYPE_VECTOR;
            if (isOperator) {
                node.kind = isVector ? NodeKind::VectorOperator : NodeKind::ScalarOperator;
            } else {
                node.kind = isVector ? NodeKind::VectorOperand : NodeKind::ScalarOperand;
                if (!source.children.empty()) {
                    return fail(index, PluginSDK::RC_NOT_SUPPORTED,
                                "an operand takes no child expressions");
                }
            }
        } catch (const std::bad_alloc&) {
            return fail(index, kOutOfMemory);
        } catch (const std::exception& exception) {
            return fail(index, kPluginException, exception.what());
        } catch (...) {
            return fail(index, kPluginException);
        }
    }
    m_Built = true;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t ExpressionTree::evaluate() {
    if (!m_Built) {
        return m_Failure.code;
    }
    for (TreeNode& node : m_Nodes) {
        node.state = NodeState::NotEvaluated;
        node.handedAsError = false;
        node.propagated = false;
        node.code = 0;
    }
    clearFailure();
    std::int32_t status = 0;
    try {
        status = run(0);
    } catch (const std::bad_alloc&) {
        status = fail(m_Current, kOutOfMemory);
        failAncestors(m_Current, status);
    } catch (const std::exception& exception) {
        status = fail(m_Current, kPluginException, exception.what());
        failAncestors(m_Current, status);
    } catch (...) {
        status = fail(m_Current, kPluginException);
        failAncestors(m_Current, status);
    }
    dispose();
    return status;
}

std::int32_t ExpressionTree::run(std::size_t index) {
    TreeNode& node = m_Nodes[index];
    m_Current = index;
    std::int32_t code = 0;
    // The kind was told by isOperator() and getType() at instantiation; the protocol makes
    // these casts safe.
    switch (node.kind) {
        case NodeKind::ScalarOperand:
            node.scalar = PluginSDK::String();
            code = static_cast<PluginSDK::ScalarExpression*>(node.expression)
                       ->getScalarResult(node.scalar);
            break;
        case NodeKind::VectorOperand:
            node.vector.removeAll();
            code = static_cast<PluginSDK::VectorExpression*>(node.expression)
                       ->getVectorResult(node.vector);
            break;
        case NodeKind::ScalarOperator: {
            auto& op = *static_cast<PluginSDK::ScalarOperator*>(node.expression);
            if (feed(op, index) != 0) {
                return node.code;
            }
            m_Current = index;
            node.scalar = PluginSDK::String();
            code = op.getScalarResult(node.scalar);
            break;
        }
        case NodeKind::VectorOperator: {
            auto& op = *static_cast<PluginSDK::VectorOperator*>(node.expression);
            if (feed(op, index) != 0) {
                return node.code;
            }
            m_Current = index;
            node.vector.removeAll();
            code = op.getVectorResult(node.vector);
            break;
        }
    }
    if (code != PluginSDK::RC_SUCCESS) {
        return fail(index, code);
    }
    node.state = NodeState::Succeeded;
    return code;
}

template <class Operator>
std::int32_t ExpressionTree::feed(Operator& op, std::size_t index) {
    const std::size_t end = m_Nodes[index].end;
    std::size_t child = index + 1;
    while (child < end) {
        TreeNode& current = m_Nodes[child];
        std::int32_t code = run(child);
        m_Current = index;
        if (code != PluginSDK::RC_SUCCESS) {
            if (!op.continueOnError()) {
                // The parent fails with its child; the failure keeps pointing at its origin.
                m_Nodes[index].state = NodeState::Failed;
                m_Nodes[index].code = code;
                m_Nodes[index].propagated = true;
                return code;
            }
            current.handedAsError = true;
            clearFailure();
            code = op.updateWithError(code);
        } else if (current.isVector()) {
            code = op.update(current.vector);
        } else {
            code = op.update(current.scalar);
        }
        if (code != PluginSDK::RC_SUCCESS) {
            return fail(index, code);
        }
        child = current.end;
        if (child < end && op.isReady()) {
            for (; child < end; ++child) {
                m_Nodes[child].state = NodeState::Skipped;
            }
        }
    }
    return PluginSDK::RC_SUCCESS;
}

void ExpressionTree::failAncestors(std::size_t index, std::int32_t code) {
    for (std::size_t ancestor = 0; ancestor < index; ++ancestor) {
        TreeNode& node = m_Nodes[ancestor];
        if (node.end > index && node.state != NodeState::Failed) {
            node.state = NodeState::Failed;
            node.code = code;
            node.propagated = true;
        }
    }
}

void ExpressionTree::dispose() {
    for (TreeNode& node : m_Nodes) {
        if (node.expression != nullptr) {
            try {
                node.expression->disposeExpression();
            } catch (...) {
                // Resetting state should not allocate; if it throws anyway, the next run still
                // starts from whatever the node could restore.
            }
        }
    }
}

void ExpressionTree::destroy() {
    for (std::size_t index = m_Nodes.size(); index-- > 0;) {
        PluginSDK::Expression*& expression = m_Nodes[index].expression;
        if (expression != nullptr) {
            try {
                m_Nodes[index].plugin->destroyExpression(expression);
            } catch (...) {
                // A destructor that throws leaves nothing the host could do.
            }
            expression = nullptr;
        }
    }
}

}  // namespace corehost
