// Random trees of all 33 expressions, each with the properties it reads set to allowed or telling
// values, evaluated by the host with tracing on, twice on one instance: the second run answers as
// the first. Every path names something in a scratch directory.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>

#include <algorithm>

#include "CorePlugin.h"
#include "CorePluginNames.h"
#include "ExpressionTable.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "Report.h"
#include "tracing/Tracer.h"

using namespace CorePlugin;

// Telling texts for any property; each closed set of values comes from the table.
const wchar_t* const kValues[] = {
    L"",           L"0",           L"1",          L"2",          L"-1",    L"10",
    L"2147483647", L"-2147483648", L"4294967295", L"4294967296", L"0x1F",  L"ff",
    L"1.2.3.4",    L"1,2_3",       L"true",       L"false",      L"start", L"end",
    L"add",        L"*",           L"?",          L"a*",         L"*b?",   L"\\*",
    L"a;b\\c",     L"x\ny\nx",     L"caf\u00e9",  L"s",          L"k",     L"S",
    L"missing"};

const char* const kPaths[] = {"",          "/file", "/conf.ini", "/fifo",    "/loop",
                              "/dangling", "/sub",  "/sub/..",   "/missing", "/loop/x"};

/// The plug-in and the host, once per process.
struct Host {
    PluginSDK::CorePlugin plugin;
    corehost::PluginSet plugins;

    Host() {
        const std::filesystem::path& root = fuzz::scratchDirectory();
        fuzz::writeFile("file", "some text");
        fuzz::writeFile("conf.ini", "[s]\nk = v\nK2 = 'quoted'\n");
        std::filesystem::create_directory(root / "sub");
        mkfifo((root / "fifo").c_str(), 0600);
        std::filesystem::create_symlink("loop", root / "loop");
        std::filesystem::create_symlink("nowhere", root / "dangling");
        plugin.initializePlugin();
        plugins.add(plugin, "CorePlugin", "fuzz");
        Tracer::sendToCallback([](const Tracer::Event&, void*) {}, nullptr);
    }
};

template <class T>
const T& pick(FuzzedDataProvider& input, std::span<const T> from) {
    return from[input.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

static std::wstring path(FuzzedDataProvider& input) {
    const std::string root = fuzz::scratchDirectory().string();
    if (input.ConsumeBool()) {
        return platform::fromUtf8(root + pick<const char*>(input, kPaths));
    }
    // A name of the fuzzer's own is one component, which cannot climb out.
    std::string name = input.ConsumeRandomLengthString(16);
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '.', '_');
    return platform::fromUtf8(root + "/_" + name);
}

static std::wstring value(FuzzedDataProvider& input, const PropertyDescriptor& property) {
    const std::wstring_view name = property.name;
    if (name == PropertyName::kAbsolutePath || name == PropertyName::kFile) {
        return path(input);
    }
    if (!property.values.empty() && input.ConsumeBool()) {
        const std::wstring_view chosen = pick(input, property.values);
        // Access times are left out: reading a file moves its own.
        return std::wstring(chosen == FieldName::kAtime ? FieldName::kMtime : chosen);
    }
    return input.ConsumeBool() ? pick<const wchar_t*>(input, kValues)
                               : fuzz::wideOf(input.ConsumeRandomLengthString(16));
}

static void grow(FuzzedDataProvider& input, corehost::RuleNode& node, int depth, int& budget) {
    const ExpressionDescriptor& row = pick(input, expressionTable());
    node.name = row.name;
    // Mostly present, so that evaluation mostly gets past the check of required properties.
    for (const PropertyDescriptor& property : row.properties) {
        if (input.ConsumeIntegralInRange(0, 3) != 0) {
            node.properties.push_back({property.name, value(input, property), {}});
        }
    }
    // Operators get fewer or more children than they take too; operands, which the host refuses
    // any, none.
    const int children = depth < 6 && row.kind.isOperator ? input.ConsumeIntegralInRange(0, 3) : 0;
    for (int child = 0; child < children && --budget > 0; ++child) {
        grow(input, node.children.emplace_back(), depth + 1, budget);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    FuzzedDataProvider input(data, size);
    corehost::RuleNode root;
    int budget = 40;
    grow(input, root, 0, budget);
    corehost::ExpressionTree tree(host.plugins);
    if (tree.instantiate(root) != 0) {
        return 0;
    }
    const std::int32_t status = tree.evaluate();
    const std::string answer = corehost::resultJson(tree, status, nullptr, true);
    corehost::explainText(tree);
    fuzz::require(
        tree.evaluate() == status && corehost::resultJson(tree, status, nullptr, true) == answer,
        "a second run answers as the first");
    return 0;
}
