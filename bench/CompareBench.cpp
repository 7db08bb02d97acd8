// The typed values Compare reads: each type's set() from text and its six relations, beside the
// C library's readers and plain comparisons of the read values as the floor.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>

#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/Comparable.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

namespace {

enum class Type { Integer, UInteger, Hex, Version, String, CiString, Boolean };

/// Two texts of a type, as a rule would hand them to Compare.
struct Case {
    const char* name;
    Type type;
    const wchar_t* first;
    const wchar_t* second;
};

const Case kCases[] = {
    {"integer", Type::Integer, L"-1048576", L"1024"},
    {"uinteger", Type::UInteger, L"4294967295", L"420"},
    {"hex", Type::Hex, L"0x7fffffff", L"0X1A2B"},
    {"version", Type::Version, L"6.1.0.25", L"6.1.0_17"},
    {"string", Type::String, L"/usr/lib/x86_64-linux-gnu", L"/usr/lib/x86_64-linux-gnu/libc.so.6"},
    {"cistring", Type::CiString, L"Debian GNU/Linux", L"DEBIAN gnu/linux"},
    {"boolean", Type::Boolean, L"true", L"false"},
};

std::unique_ptr<CorePlugin::Comparable> makeValue(Type type) {
    switch (type) {
        case Type::Integer:
            return std::make_unique<CorePlugin::Integer>(0);
        case Type::UInteger:
            return std::make_unique<CorePlugin::UInteger>(0u);
        case Type::Hex:
            return std::make_unique<CorePlugin::Hex>(0u);
        case Type::Version:
            return std::make_unique<CorePlugin::Version>(0u, 0u, 0u, 0u);
        case Type::String:
            return std::make_unique<CorePlugin::String>(L"");
        case Type::CiString:
            return std::make_unique<CorePlugin::CiString>(L"");
        case Type::Boolean:
            break;
    }
    return std::make_unique<CorePlugin::Boolean>(false);
}

// Both texts read, as Compare reads its two children.
void set(benchmark::State& state, const Case* c) {
    auto first = makeValue(c->type);
    auto second = makeValue(c->type);
    for (auto _ : state) {
        benchmark::DoNotOptimize(first->set(c->first));
        benchmark::DoNotOptimize(second->set(c->second));
    }
}

// All six relations of the first value to the second.
void relations(benchmark::State& state, const Case* c) {
    auto first = makeValue(c->type);
    auto second = makeValue(c->type);
    first->set(c->first);
    second->set(c->second);
    const CorePlugin::Comparable& a = *first;
    const CorePlugin::Comparable& b = *second;
    for (auto _ : state) {
        benchmark::DoNotOptimize(a > b);
        benchmark::DoNotOptimize(a >= b);
        benchmark::DoNotOptimize(a == b);
        benchmark::DoNotOptimize(a <= b);
        benchmark::DoNotOptimize(a < b);
        benchmark::DoNotOptimize(a != b);
    }
}

/// What the C library offers for each type: its readers, and the read values compared.
struct Reference {
    std::uint32_t fields[4] = {0, 0, 0, 0};
    long number = 0;
    std::wstring text;
    bool truth = false;

    void read(Type type, const wchar_t* source) {
        switch (type) {
            case Type::Integer:
                number = std::wcstol(source, nullptr, 10);
                break;
            case Type::UInteger:
                number = static_cast<long>(std::wcstoul(source, nullptr, 10));
                break;
            case Type::Hex:
                number = static_cast<long>(std::wcstoul(source, nullptr, 16));
                break;
            case Type::Version: {
                wchar_t* end = const_cast<wchar_t*>(source);
                for (std::uint32_t& field : fields) {
                    field = static_cast<std::uint32_t>(std::wcstoul(end, &end, 10));
                    if (*end != L'\0') {
                        ++end;
                    }
                }
                break;
            }
            case Type::String:
                text.assign(source);
                break;
            case Type::CiString:
                text.assign(source);
                for (wchar_t& ch : text) {
                    ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
                }
                break;
            case Type::Boolean:
                truth = std::wcscmp(source, L"true") == 0;
                benchmark::DoNotOptimize(std::wcscmp(source, L"false"));
                break;
        }
    }

    int order(Type type, const Reference& other) const {
        switch (type) {
            case Type::Version:
                for (int i = 0; i < 4; ++i) {
                    if (fields[i] != other.fields[i]) {
                        return fields[i] < other.fields[i] ? -1 : 1;
                    }
                }
                return 0;
            case Type::String:
            case Type::CiString:
                return std::wcscmp(text.c_str(), other.text.c_str());
            case Type::Boolean:
                return int(truth) - int(other.truth);
            default:
                return number < other.number ? -1 : number > other.number ? 1 : 0;
        }
    }
};

void referenceSet(benchmark::State& state, const Case* c) {
    const Type type = c->type;
    Reference first;
    Reference second;
    for (auto _ : state) {
        first.read(type, c->first);
        second.read(type, c->second);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
}

// Each relation compares again, as each of the six relations above does.
void referenceRelations(benchmark::State& state, const Case* c) {
    const Type type = c->type;
    Reference first;
    Reference second;
    first.read(type, c->first);
    second.read(type, c->second);
    for (auto _ : state) {
        benchmark::DoNotOptimize(first.order(type, second) > 0);
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(first.order(type, second) >= 0);
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(first.order(type, second) == 0);
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(first.order(type, second) <= 0);
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(first.order(type, second) < 0);
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(first.order(type, second) != 0);
        benchmark::ClobberMemory();
    }
}

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        const std::string type = c.name;
        benchmark::RegisterBenchmark(("BM_Set/" + type).c_str(), set, &c);
        benchmark::RegisterBenchmark(("BM_CSet/" + type).c_str(), referenceSet, &c);
        benchmark::RegisterBenchmark(("BM_Relations/" + type).c_str(), relations, &c);
        benchmark::RegisterBenchmark(("BM_CRelations/" + type).c_str(), referenceRelations, &c);
    }
    return true;
}();

}  // namespace
