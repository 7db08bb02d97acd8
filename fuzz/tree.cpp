// Random trees of all 33 expressions with properties drawn from telling values, evaluated by the
// host with tracing on, twice on one instance: the second run answers as the first. Every path
// names something in a scratch directory.

#include <fuzzer/FuzzedDataProvider.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "CorePlugin.h"
#include "ExpressionTree.h"
#include "FuzzSupport.h"
#include "PluginSet.h"
#include "Report.h"
#include "tracing/Tracer.h"

namespace {

const wchar_t* const kProperties[] = {
    L"absolutePath", L"file",       L"field",    L"relation",       L"value",    L"mustExist",
    L"inputString",  L"startIndex", L"endIndex", L"searchedString", L"position", L"startString",
    L"endString",    L"seekFrom",   L"filter",   L"ignoreCase",     L"order",    L"index",
    L"default",      L"separator",  L"ifEmpty",  L"type",           L"section",  L"key"};

// Access times are left out: reading a file moves its own.
const wchar_t* const kValues[] = {
    L"",           L"0",           L"1",          L"2",          L"-1",      L"10",
    L"2147483647", L"-2147483648", L"4294967295", L"4294967296", L"0x1F",    L"ff",
    L"1.2.3.4",    L"1,2_3",       L"true",       L"false",      L"integer", L"uinteger",
    L"hex",        L"version",     L"string",     L"cistring",   L"boolean", L"eq",
    L"ne",         L"gt",          L"ge",         L"lt",         L"le",      L"size",
    L"inode",      L"mtime",       L"ctime",      L"asc",        L"desc",    L"start",
    L"end",        L"left",        L"right",      L"add",        L"*",       L"?",
    L"a*",         L"*b?",         L"\\*",        L"a;b\\c",     L"x\ny\nx", L"caf\u00e9",
    L"s",          L"k",           L"S",          L"missing"};

const char* const kPaths[] = {"",          "/file", "/conf.ini", "/fifo",    "/loop",
                              "/dangling", "/sub",  "/sub/..",   "/missing", "/loop/x"};

/// The plug-in and the host, once per process.
struct Host {
    PluginSDK::CorePlugin plugin;
    corehost::PluginSet plugins;
    std::vector<std::wstring> names;

    Host() {
        const std::string root = fuzz::scratchDirectory().string();
        fuzz::writeFile("file", "some text");
        fuzz::writeFile("conf.ini", "[s]\nk = v\nK2 = 'quoted'\n");
        mkdir((root + "/sub").c_str(), 0700);
        mkfifo((root + "/fifo").c_str(), 0600);
        symlink("loop", (root + "/loop").c_str());
        symlink("nowhere", (root + "/dangling").c_str());
        plugin.initializePlugin();
        plugins.add(plugin, "CorePlugin", "fuzz");
        for (const corehost::PluginSet::Supplier& supplier : plugins.suppliers()) {
            names.push_back(supplier.name);
        }
        Tracer::sendToCallback([](const Tracer::Event&, void*) {}, nullptr);
    }
};

std::wstring value(FuzzedDataProvider& input, bool path) {
    if (path) {
        if (input.ConsumeBool()) {
            return platform::fromUtf8(
                fuzz::scratchDirectory().string() +
                kPaths[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kPaths) - 1)]);
        }
        // A name of the fuzzer's own is one component, which cannot climb out.
        std::string name = input.ConsumeRandomLengthString(16);
        for (char& c : name) {
            c = c == '/' || c == '.' ? '_' : c;
        }
        return platform::fromUtf8(fuzz::scratchDirectory().string() + "/_" + name);
    }
    if (input.ConsumeBool()) {
        return kValues[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kValues) - 1)];
    }
    return fuzz::wideOf(input.ConsumeRandomLengthString(16));
}

void grow(FuzzedDataProvider& input, const Host& host, corehost::RuleNode& node, int depth,
          int& budget) {
    node.name = host.names[input.ConsumeIntegralInRange<std::size_t>(0, host.names.size() - 1)];
    for (const wchar_t* property : kProperties) {
        if (input.ConsumeIntegralInRange(0, 3) == 0) {
            const bool path = property == std::wstring_view(L"absolutePath") ||
                              property == std::wstring_view(L"file");
            node.properties.push_back({property, value(input, path), {}});
        }
    }
    const int children = depth < 6 ? input.ConsumeIntegralInRange(0, 3) : 0;
    for (int child = 0; child < children && --budget > 0; ++child) {
        grow(input, host, node.children.emplace_back(), depth + 1, budget);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    FuzzedDataProvider input(data, size);
    corehost::RuleNode root;
    int budget = 40;
    grow(input, host, root, 0, budget);
    corehost::ExpressionTree tree(host.plugins);
    if (tree.instantiate(root) != 0) {
        return 0;
    }
    const std::int32_t status = tree.evaluate();
    const std::string answer = corehost::resultJson(tree, status, nullptr, true);
    corehost::explainText(tree);
    fuzz::require(tree.evaluate() == status, "a second run fails or succeeds as the first");
    fuzz::require(corehost::resultJson(tree, status, nullptr, true) == answer,
                  "a second run answers as the first");
    return 0;
}
