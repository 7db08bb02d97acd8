// The factory: createExpression and destroyExpression of each of the 33 names, beside a plain
// new and delete of the same class, which is the floor the name lookup adds to.

#include <benchmark/benchmark.h>

#include <string>

#include "CorePlugin.h"
#include "ExpressionTable.h"
#include "platform/utf8.h"

namespace {

PluginSDK::CorePlugin& plugin() {
    static PluginSDK::CorePlugin* instance = [] {
        auto* created = new PluginSDK::CorePlugin();
        created->initializePlugin();
        return created;
    }();
    return *instance;
}

void factory(benchmark::State& state, const wchar_t* name) {
    PluginSDK::CorePlugin& factory = plugin();
    for (auto _ : state) {
        PluginSDK::Expression* expression = nullptr;
        factory.createExpression(name, &expression);
        benchmark::DoNotOptimize(expression);
        factory.destroyExpression(expression);
    }
}

void newDelete(benchmark::State& state, CorePlugin::Maker make) {
    const mountlist* mounts = plugin().getMountList();
    for (auto _ : state) {
        PluginSDK::Expression* expression = make(mounts);
        benchmark::DoNotOptimize(expression);
        delete expression;
    }
}

const bool kRegistered = [] {
    for (const CorePlugin::ExpressionDescriptor& row : CorePlugin::expressionTable()) {
        std::string name;
        platform::toUtf8(row.name, name);
        benchmark::RegisterBenchmark(("BM_Factory/" + name).c_str(), factory, row.name);
        benchmark::RegisterBenchmark(("BM_NewDelete/" + name).c_str(), newDelete, row.make);
    }
    return true;
}();

}  // namespace
