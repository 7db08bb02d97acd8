#pragma once

// What the tree and probe benchmarks share: the plug-in module loaded as corehost loads it, and
// rules instantiated once through the host's evaluator, to be evaluated again and again.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ExpressionTree.h"
#include "PluginModule.h"
#include "PluginSet.h"
#include "RuleParser.h"

namespace bench {

/// libCorePlugin.so of this build, loaded once for the whole run.
inline const corehost::PluginSet& plugins() {
    static corehost::PluginSet* loaded = [] {
        auto* set = new corehost::PluginSet();
        corehost::LoadError error;
        std::unique_ptr<corehost::PluginModule> module =
            corehost::PluginModule::load(corehost::defaultPluginPath(), error);
        if (module) {
            set->add(module->plugin(), "CorePlugin", module->path());
            // Kept loaded until the process ends, as a host keeps it for its whole life.
            module.release();
        }
        return set;
    }();
    return *loaded;
}

/// A rule parsed and instantiated once, as a host keeps a tree it evaluates on a schedule.
class Rule {
public:
    explicit Rule(const std::string& text) : m_Tree(plugins()) {
        corehost::RuleParser parser(text, "<bench>");
        m_Parsed = parser.parseExpression(m_Root) && m_Tree.instantiate(m_Root) == 0;
    }

    bool parsed() const { return m_Parsed; }
    std::int32_t evaluate() { return m_Tree.evaluate(); }

private:
    corehost::RuleNode m_Root;
    corehost::ExpressionTree m_Tree;
    bool m_Parsed = false;
};

/// Evaluates `text` on one instantiated tree per iteration; `expected` is the status every run
/// must return.
inline void evaluateRule(benchmark::State& state, const std::string& text,
                         std::int32_t expected = 0) {
    Rule rule(text);
    if (!rule.parsed()) {
        state.SkipWithError(("cannot instantiate " + text).c_str());
        return;
    }
    const std::int32_t first = rule.evaluate();
    if (first != expected) {
        state.SkipWithError(("unexpected status " + std::to_string(first)).c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(rule.evaluate());
    }
}

}  // namespace bench
