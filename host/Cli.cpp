#include "Cli.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <platform/utf8.h>

#include "Catalog.h"
#include "CatalogRunner.h"
#include "ExpressionTree.h"
#include "PluginModule.h"
#include "PluginSDK/Configuration.h"
#include "PluginSDK/Plugin.h"
#include "PluginSet.h"
#include "Report.h"
#include "RuleParser.h"
#include "tracing/Tracer.h"

#ifndef COREHOST_VERSION
#define COREHOST_VERSION "unknown"
#endif

namespace corehost {

namespace {

/// A plug-in module, or a directory of them, as the command line named it.
struct PluginSource {
    std::string path;
    bool directory = false;
};

/// The --plugin and --plugin-dir options of one command.
struct PluginOptions {
    std::vector<std::string> modules;
    std::vector<std::string> directories;
    const CLI::App* command = nullptr;
    const CLI::Option* moduleOption = nullptr;
    const CLI::Option* directoryOption = nullptr;

    /// The modules and directories in command-line order, which is the order of precedence.
    std::vector<PluginSource> sources() const {
        std::vector<PluginSource> sources;
        std::size_t module = 0;
        std::size_t directory = 0;
        for (const CLI::Option* option : command->parse_order()) {
            if (option == moduleOption) {
                sources.push_back({modules.at(module++), false});
            } else if (option == directoryOption) {
                sources.push_back({directories.at(directory++), true});
            }
        }
        return sources;
    }
};

/// Options every evaluating command shares.
struct CommonOptions {
    bool json = false;
    bool explain = false;
    bool trace = false;
    std::string traceFile;
    PluginOptions plugins;
    std::vector<std::string> properties;
};

/// The plug-in modules a command loaded and the names they supply.
struct LoadedPlugins {
    std::vector<std::unique_ptr<PluginModule>> modules;
    PluginSet set;
};

constexpr const char* kTraceFileOption = "--trace-file";

// CLI11 would let "--trace" swallow the next argument as its file; only "--trace=FILE" names
// one, so that form is rewritten to a hidden option of its own.
std::vector<std::string> rewriteArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument.rfind("--trace=", 0) == 0) {
            arguments.emplace_back(kTraceFileOption);
            arguments.push_back(argument.substr(8));
            continue;
        }
        optionsEnded = optionsEnded || argument == "--";
        arguments.push_back(argument);
    }
    return arguments;
}

void addPluginOptions(CLI::App& command, PluginOptions& options) {
    options.command = &command;
    options.moduleOption =
        command
            .add_option("--plugin", options.modules,
                        "load this plug-in module (repeatable; the first to register a name "
                        "supplies it; default: ../lib/libCorePlugin.so beside corehost)")
            ->type_name("PATH")
            ->allow_extra_args(false);
    options.directoryOption =
        command
            .add_option("--plugin-dir", options.directories,
                        "load every plug-in module (*.so) in DIR, in name order (repeatable)")
            ->type_name("DIR")
            ->allow_extra_args(false);
}

void addCommonOptions(CLI::App& command, CommonOptions& options) {
    command.add_flag("--json", options.json,
                     "print JSON (run: one object per line, with \"rule\")");
    command.add_flag("--explain", options.explain,
                     "print the evaluated tree: properties, results, codes and skipped children");
    command.add_flag("--trace", options.trace,
                     "--trace[=FILE]: print the plug-in's trace records to standard error or FILE");
    command.add_option(kTraceFileOption, options.traceFile)->group("");
    addPluginOptions(command, options.plugins);
    command
        .add_option("--set", options.properties,
                    "pass a configuration property to every plug-in (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false)
        ->check([](const std::string& value) {
            const std::size_t equals = value.find('=');
            return equals == std::string::npos || equals == 0
                       ? std::string("expected NAME=VALUE, got \"") + value + "\""
                       : std::string();
        });
}

bool startTracing(const CommonOptions& options) {
    if (!options.traceFile.empty()) {
        if (!Tracer::sendToFile(options.traceFile.c_str())) {
            std::cerr << "corehost: cannot open the trace file " << options.traceFile << "\n";
            return false;
        }
    } else if (options.trace) {
        Tracer::sendToStandardError();
    }
    return true;
}

/// Stops tracing when a command ends, after the plug-in modules are gone (tracing that never
/// started leaves nothing to stop).
struct TraceScope {
    ~TraceScope() { Tracer::sendToNone(); }
};

// The modules of a directory that hold plug-ins, in name order so that precedence is stable.
bool listDirectory(const std::string& directory, std::vector<std::string>& modules) {
    std::error_code error;
    std::vector<std::string> found;
    std::filesystem::directory_iterator entry(directory, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        if (entry->path().extension() == ".so" && entry->is_regular_file(ignored)) {
            found.push_back(entry->path().string());
        }
    }
    if (error) {
        std::cerr << "corehost: cannot read the plug-in directory " << directory << ": "
                  << error.message() << "\n";
        return false;
    }
    std::sort(found.begin(), found.end());
    modules.insert(modules.end(), found.begin(), found.end());
    return true;
}

std::string pluginName(PluginSDK::Plugin& plugin, const std::string& path) {
    const wchar_t* name = plugin.getName();
    if (name == nullptr || *name == 0) {
        return std::filesystem::path(path).filename().string();
    }
    return toUtf8(name);
}

bool loadPlugins(const PluginOptions& options, LoadedPlugins& loaded) {
    std::vector<PluginSource> sources = options.sources();
    if (sources.empty()) {
        sources.push_back({defaultPluginPath(), false});
    }
    for (const PluginSource& source : sources) {
        std::vector<std::string> paths;
        if (!source.directory) {
            paths.push_back(pluginPath(source.path));
        } else if (!listDirectory(source.path, paths)) {
            return false;
        }
        for (const std::string& path : paths) {
            LoadError error;
            std::unique_ptr<PluginModule> module = PluginModule::load(path, error);
            // A plug-in directory may also hold the libraries its plug-ins link.
            if (!module && source.directory && error.notAPlugin) {
                continue;
            }
            if (!module) {
                std::cerr << "corehost: cannot load the plug-in: " << error.message << "\n";
                return false;
            }
            loaded.set.add(module->plugin(), pluginName(module->plugin(), path), path);
            loaded.modules.push_back(std::move(module));
        }
    }
    if (loaded.modules.empty()) {
        std::cerr << "corehost: cannot load the plug-in: no plug-in module in";
        for (const PluginSource& source : sources) {
            std::cerr << " " << source.path;
        }
        std::cerr << "\n";
        return false;
    }
    const std::vector<PluginSet::Member>& members = loaded.set.members();
    for (const PluginSet::Duplicate& duplicate : loaded.set.duplicates()) {
        const PluginSet::Member& first = members[duplicate.first];
        const PluginSet::Member& again = members[duplicate.again];
        std::cerr << "corehost: warning: \"" << toUtf8(duplicate.name) << "\" is registered by "
                  << first.name << " (" << first.module << ") and again by " << again.name << " ("
                  << again.module << "); " << first.name << "'s is used\n";
    }
    return true;
}

// Whether the plug-in kept a property: it says nothing about one it skips, but its
// configuration section tells.
bool keeps(PluginSDK::Plugin& plugin, const std::wstring& name, const std::wstring& value) {
    PluginSDK::Configuration* configuration = nullptr;
    PluginSDK::String stored;
    const wchar_t* section = plugin.getName();
    return section != nullptr && PluginSDK::Configuration::get(section, configuration) == 0 &&
           configuration != nullptr && configuration->getProperty(name.c_str(), stored) &&
           stored == value.c_str();
}

// Every plug-in is offered every property: each one decides which are its own.
void setProperties(const LoadedPlugins& loaded, const std::vector<std::string>& properties) {
    for (const std::string& property : properties) {
        const std::size_t equals = property.find('=');
        const std::wstring name = platform::fromUtf8(property.substr(0, equals));
        const std::wstring value = platform::fromUtf8(property.substr(equals + 1));
        bool kept = false;
        for (const std::unique_ptr<PluginModule>& module : loaded.modules) {
            module->plugin().setProperty(name.c_str(), value.c_str());
            kept = keeps(module->plugin(), name, value) || kept;
        }
        if (!kept) {
            std::cerr << "corehost: warning: no plug-in kept the property " << property << "\n";
        }
    }
}

// What every evaluating command does before it evaluates: tracing as the options ask, then the
// plug-ins loaded and configured. kExitSuccess, or the status to exit with.
int startPlugins(const CommonOptions& options, LoadedPlugins& plugins) {
    if (!startTracing(options)) {
        return kExitUsage;
    }
    if (!loadPlugins(options.plugins, plugins)) {
        return kExitPluginFailed;
    }
    setProperties(plugins, options.properties);
    return kExitSuccess;
}

int evalCommand(const CommonOptions& options, const std::string& expression, bool expressionGiven,
                const std::string& file) {
    std::string text;
    std::string source;
    Diagnostic error;
    if (expressionGiven && !file.empty()) {
        std::cerr << "corehost eval: give EXPR or -f FILE, not both\n";
        return kExitUsage;
    }
    if (!expressionGiven && file.empty()) {
        std::cerr << "corehost eval: nothing to evaluate: give EXPR or -f FILE\n";
        return kExitUsage;
    }
    if (!file.empty() || expression == "-") {
        if (!readRuleSource(file.empty() ? expression : file, text, source, error)) {
            std::cerr << error.format() << "\n";
            return kExitUsage;
        }
    } else {
        text = expression;
        source = "<expr>";
    }
    RuleNode root;
    if (!validateText(text, source, error)) {
        std::cerr << error.format() << "\n";
        return kExitUsage;
    }
    RuleParser parser(text, source);
    if (!parser.parseExpression(root)) {
        std::cerr << parser.error().format() << "\n";
        return kExitUsage;
    }
    TraceScope traceScope;
    LoadedPlugins plugins;
    if (const int status = startPlugins(options, plugins); status != kExitSuccess) {
        return status;
    }
    if (auto problem = findUnknownName(root, plugins.set.names())) {
        std::cerr << Diagnostic{source, problem->first, problem->second}.format() << "\n";
        return kExitUsage;
    }
    ExpressionTree tree(plugins.set);
    std::int32_t status = tree.instantiate(root);
    if (status == 0) {
        status = tree.evaluate();
    }
    if (options.json) {
        std::cout << resultJson(tree, status, nullptr, options.explain) << "\n";
    } else if (options.explain) {
        std::cout << explainText(tree);
    } else if (status == 0) {
        std::cout << plainResult(tree.root());
    }
    std::cout.flush();
    if (status != 0 && !options.json) {
        std::cerr << failureMessage(tree, source, nullptr) << "\n";
    }
    return status == 0 ? kExitSuccess : kExitFailed;
}

int runCommand(const CommonOptions& options, const std::vector<std::string>& files,
               RunOptions runOptions, bool forceProgress, bool forbidProgress) {
    Catalog catalog(runOptions.jobs);
    Diagnostic error;
    if (!catalog.load(files, error)) {
        std::cerr << error.format() << "\n";
        return kExitUsage;
    }
    TraceScope traceScope;
    LoadedPlugins plugins;
    if (const int status = startPlugins(options, plugins); status != kExitSuccess) {
        return status;
    }
    if (!catalog.checkNames(plugins.set.names(), error)) {
        std::cerr << error.format() << "\n";
        return kExitUsage;
    }
    runOptions.json = options.json;
    runOptions.explain = options.explain;
    runOptions.terminal = isatty(STDERR_FILENO) == 1;
    runOptions.progress = forceProgress || (!forbidProgress && runOptions.terminal);
    const bool succeeded = runCatalog(plugins.set, catalog, runOptions, std::cout, std::cerr);
    return succeeded ? kExitSuccess : kExitFailed;
}

int listCommand(const PluginOptions& options, bool json) {
    LoadedPlugins plugins;
    if (!loadPlugins(options, plugins)) {
        return kExitPluginFailed;
    }
    const std::vector<PluginSet::Member>& members = plugins.set.members();
    if (json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const PluginSet::Supplier& supplier : plugins.set.suppliers()) {
            const PluginSet::Member& member = members[supplier.member];
            array.push_back({{"name", toUtf8(supplier.name)},
                             {"plugin", member.name},
                             {"module", member.module}});
        }
        std::cout << dumpJson(array) << "\n";
        return kExitSuccess;
    }
    std::size_t width = 0;
    for (const PluginSet::Supplier& supplier : plugins.set.suppliers()) {
        width = std::max(width, toUtf8(supplier.name).size());
    }
    for (const PluginSet::Supplier& supplier : plugins.set.suppliers()) {
        const std::string name = toUtf8(supplier.name);
        std::cout << name << std::string(width + 2 - name.size(), ' ')
                  << members[supplier.member].name << "\n";
    }
    return kExitSuccess;
}

int versionCommand() {
    std::cout << "corehost " << COREHOST_VERSION << "\n";
    const std::string path = defaultPluginPath();
    LoadError error;
    std::unique_ptr<PluginModule> module = PluginModule::load(path, error);
    if (!module) {
        std::cout << "plug-in: not loaded (" << error.message << ")\n";
        return kExitSuccess;
    }
    const PluginSDK::PluginVersion version = module->plugin().getVersion();
    const wchar_t* name = module->plugin().getName();
    std::cout << "plug-in: " << toUtf8(name != nullptr ? name : L"(unnamed)") << " "
              << version.majorNumber << "." << version.minorNumber << "." << version.releaseNumber
              << "." << version.buildNumber << " (" << path << ")\n";
    return kExitSuccess;
}

}  // namespace

int runCorehost(int argc, char** argv) {
    CLI::App app("corehost evaluates expression trees with CorePlugin and other plug-ins.",
                 "corehost");
    app.footer(
        "Exit status: 0 every evaluation succeeded (whatever the truth value), 1 an evaluation "
        "failed, 2 usage or parse error (nothing evaluated), 3 the plug-in could not be "
        "loaded.\nThe rule language is described in docs/rules.md, the commands in "
        "docs/cli.md and corehost(1).");
    app.require_subcommand(0, 1);
    bool version = false;
    app.add_flag("--version", version, "print the versions of corehost and of the plug-in");

    CommonOptions evalOptions;
    std::string expression;
    std::string file;
    CLI::App* eval = app.add_subcommand("eval", "evaluate one expression tree");
    CLI::Option* expressionOption =
        eval->add_option("EXPR", expression, "the expression ('-': read it from standard input)");
    eval->add_option("-f,--file", file, "read the expression from FILE ('-': standard input)")
        ->type_name("FILE");
    addCommonOptions(*eval, evalOptions);

    CommonOptions runOptions;
    std::vector<std::string> files;
    RunOptions run;
    bool forceProgress = false;
    bool forbidProgress = false;
    CLI::App* runCommandApp =
        app.add_subcommand("run", "evaluate every rule of the catalogs, in catalog order");
    runCommandApp->add_option("FILE", files, "rule catalogs ('-': standard input)")->required();
    addCommonOptions(*runCommandApp, runOptions);
    runCommandApp->add_option("--jobs", run.jobs, "evaluate rules on N threads (default 1)")
        ->type_name("N")
        ->check(CLI::Range(1u, 1024u));
    runCommandApp
        ->add_option("--repeat", run.repeat,
                     "evaluate each rule N times on one instantiated tree (default 1)")
        ->type_name("N")
        ->check(CLI::Range(1u, 1000000000u));
    CLI::Option* progressOn =
        runCommandApp->add_flag("--progress", forceProgress,
                                "draw the progress bar even when standard error is no terminal");
    runCommandApp->add_flag("--no-progress", forbidProgress, "never draw the progress bar")
        ->excludes(progressOn);

    PluginOptions listPlugins;
    bool listJson = false;
    CLI::App* list = app.add_subcommand(
        "list", "print the registered expression names, in order, and the plug-in of each");
    addPluginOptions(*list, listPlugins);
    list->add_flag("--json", listJson, "print a JSON array");

    std::vector<std::string> arguments = rewriteArguments(argc, argv);
    std::reverse(arguments.begin(), arguments.end());
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? kExitSuccess : kExitUsage;
    }
    try {
        if (version) {
            return versionCommand();
        }
        if (eval->parsed()) {
            return evalCommand(evalOptions, expression, expressionOption->count() > 0, file);
        }
        if (runCommandApp->parsed()) {
            return runCommand(runOptions, files, run, forceProgress, forbidProgress);
        }
        if (list->parsed()) {
            return listCommand(listPlugins, listJson);
        }
    } catch (const std::bad_alloc&) {
        std::cerr << "corehost: out of memory\n";
        return kExitFailed;
    }
    std::cerr << app.help();
    return kExitUsage;
}

}  // namespace corehost
