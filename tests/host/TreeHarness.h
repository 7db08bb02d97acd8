#pragma once

// A fake plug-in, a parsed rule and its instantiated tree, for one test: every node the plug-in
// built must be destroyed, once, with the tree.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ExpressionTree.h"
#include "FakeExpressions.h"
#include "RuleParser.h"

namespace corehost {

using Log = std::vector<std::string>;

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
    std::int32_t m_Built = 0;
};

/// The harness's tree, evaluated once if it could be built.
class Evaluated : public Harness {
public:
    explicit Evaluated(const std::string& rule)
        : Harness(rule), m_Status(built() != 0 ? built() : tree().evaluate()) {}
    std::int32_t status() const { return m_Status; }

private:
    std::int32_t m_Status;
};

}  // namespace corehost
