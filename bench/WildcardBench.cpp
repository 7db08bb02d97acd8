// The wildcard matcher, on 8-bit and wide text, beside the C library's fnmatch in the C locale
// and in a UTF-8 locale. Every benchmark matches one pattern against the same 10,000 real path
// names of this machine; items per second are names matched per second, and `allocs` counts the
// operator new calls per iteration.

#include <fnmatch.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <clocale>
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "AllocationCounter.h"
#include "platform/utf8.h"
#include "utils/Wildcard.h"

namespace {

constexpr std::size_t kCorpusSize = 10000;

const char* const kPatterns[] = {"*.so",  "*.so.*",  "lib*",  "*lib*",
                                 "?bin*", "*a*b*c*", "*.txt", "*"};

/// The corpus: path names of this machine, the same ones on every run of the same machine.
struct Corpus {
    std::vector<std::string> narrow;
    std::vector<std::wstring> wide;
    std::vector<std::wstring> widePatterns;
};

void collect(const char* root, std::vector<std::string>& paths) {
    std::error_code error;
    const auto options = std::filesystem::directory_options::skip_permission_denied;
    for (std::filesystem::recursive_directory_iterator it(root, options, error), end;
         !error && it != end; it.increment(error)) {
        paths.push_back(it->path().string());
    }
}

const Corpus& corpus() {
    static const Corpus kCorpus = [] {
        std::vector<std::string> paths;
        for (const char* root : {"/usr", "/etc", "/var/lib"}) {
            collect(root, paths);
        }
        std::sort(paths.begin(), paths.end());
        Corpus result;
        // Evenly spread over the sorted walk, so every directory contributes.
        const std::size_t step = std::max<std::size_t>(1, paths.size() / kCorpusSize);
        for (std::size_t i = 0; i < paths.size() && result.narrow.size() < kCorpusSize; i += step) {
            result.narrow.push_back(paths[i]);
        }
        for (const std::string& path : result.narrow) {
            result.wide.push_back(platform::fromUtf8(path));
        }
        for (const char* pattern : kPatterns) {
            result.widePatterns.push_back(platform::fromUtf8(pattern));
        }
        return result;
    }();
    return kCorpus;
}

void report(benchmark::State& state, std::size_t matches, std::size_t allocations) {
    const std::size_t names = corpus().narrow.size();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names));
    state.counters["matches"] = static_cast<double>(matches);
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.SetLabel(kPatterns[state.range(0)]);
}

void BM_MatchChar(benchmark::State& state) {
    const char* pattern = kPatterns[state.range(0)];
    const std::vector<std::string>& names = corpus().narrow;
    std::size_t matches = 0;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) {
        matches = 0;
        for (const std::string& name : names) {
            matches += utils::matchWildcard(pattern, name.c_str()) ? 1 : 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    report(state, matches, bench::allocationCount() - before);
}

void BM_MatchWide(benchmark::State& state) {
    const wchar_t* pattern = corpus().widePatterns[state.range(0)].c_str();
    const std::vector<std::wstring>& names = corpus().wide;
    std::size_t matches = 0;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) {
        matches = 0;
        for (const std::wstring& name : names) {
            matches += utils::matchWildcard(pattern, name.c_str()) ? 1 : 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    report(state, matches, bench::allocationCount() - before);
}

void runFnmatch(benchmark::State& state, const char* locale) {
    const char* pattern = kPatterns[state.range(0)];
    const std::vector<std::string>& names = corpus().narrow;
    if (std::setlocale(LC_ALL, locale) == nullptr) {
        state.SkipWithError("locale not available");
        return;
    }
    std::size_t matches = 0;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) {
        matches = 0;
        for (const std::string& name : names) {
            matches += ::fnmatch(pattern, name.c_str(), 0) == 0 ? 1 : 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    report(state, matches, bench::allocationCount() - before);
    std::setlocale(LC_ALL, "C");
}

void BM_FnmatchC(benchmark::State& state) {
    runFnmatch(state, "C");
}

void BM_FnmatchUtf8(benchmark::State& state) {
    runFnmatch(state, "C.UTF-8");
}

void patterns(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("pattern");
    for (std::size_t i = 0; i < std::size(kPatterns); ++i) {
        benchmark->Arg(static_cast<std::int64_t>(i));
    }
}

BENCHMARK(BM_MatchChar)->Apply(patterns);
BENCHMARK(BM_MatchWide)->Apply(patterns);
BENCHMARK(BM_FnmatchC)->Apply(patterns);
BENCHMARK(BM_FnmatchUtf8)->Apply(patterns);

}  // namespace
