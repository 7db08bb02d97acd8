// The cost of building, evaluating and destroying a node through the factory, beside a plain
// new/delete of an object of the same size as the floor.

#include <benchmark/benchmark.h>

#include "CorePlugin.h"
#include "PluginSDK/ScalarExpression.h"
#include "cross/ValueOf.h"

namespace {

void BM_FactoryValueOf(benchmark::State& state) {
    PluginSDK::CorePlugin plugin;
    for (auto _ : state) {
        PluginSDK::Expression* expression = nullptr;
        plugin.createExpression(L"ValueOf", &expression);
        benchmark::DoNotOptimize(expression);
        plugin.destroyExpression(expression);
    }
}
BENCHMARK(BM_FactoryValueOf);

void BM_ReferenceNewDelete(benchmark::State& state) {
    for (auto _ : state) {
        auto* expression = new CorePlugin::ValueOf();
        benchmark::DoNotOptimize(expression);
        delete expression;
    }
}
BENCHMARK(BM_ReferenceNewDelete);

void BM_EvaluateValueOf(benchmark::State& state) {
    CorePlugin::ValueOf expression;
    expression.setProperty(L"value", L"1.2.3.4");
    PluginSDK::String result;
    for (auto _ : state) {
        benchmark::DoNotOptimize(expression.getScalarResult(result));
        expression.disposeExpression();
    }
}
BENCHMARK(BM_EvaluateValueOf);

}  // namespace
