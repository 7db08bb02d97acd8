#pragma once

#include <memory>
#include <string>

#include "PluginSDK/Plugin.h"

namespace corehost {

/// Why a module could not be loaded.
struct LoadError {
    std::string message;
    bool notAPlugin = false;  // the module opened but has no plug-in entry points
};

/// A plug-in module loaded with dlopen, its plug-in object created and initialised; unloading
/// cleans up, destroys the object and closes the module, in that order.
class PluginModule {
public:
    /// Loads the module at `path` (a name without a slash is searched like a shared library).
    /// Returns null and fills `error` when the module cannot be opened, lacks an entry point,
    /// or yields no plug-in object.
    static std::unique_ptr<PluginModule> load(const std::string& path, LoadError& error);

    ~PluginModule();

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    PluginSDK::Plugin& plugin() { return *m_Plugin; }
    const std::string& path() const { return m_Path; }

    /// The result initializePlugin() returned; non-zero is not fatal (the plug-in's expressions
    /// report what they miss).
    std::int32_t initializeResult() const { return m_InitializeResult; }

private:
    PluginModule() = default;

    std::string m_Path;
    void* m_Handle = nullptr;
    DestroyPluginFunction m_Destroy = nullptr;
    PluginSDK::Plugin* m_Plugin = nullptr;
    std::int32_t m_InitializeResult = 0;
};

/// Where the plug-in module is found by default: ../lib/libCorePlugin.so from the executable.
std::string defaultPluginPath();

/// Where a module named on the command line is loaded from: a name without a slash is looked
/// for in corehost's own library directory first, then by the system's library search.
std::string pluginPath(const std::string& name);

}  // namespace corehost
