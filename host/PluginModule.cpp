#include "PluginModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <exception>
#include <new>

namespace corehost {

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, LoadError& error) {
    std::unique_ptr<PluginModule> module(new PluginModule());
    module->m_Path = path;
    module->m_Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module->m_Handle == nullptr) {
        const char* reason = dlerror();
        error.message = reason != nullptr ? reason : "cannot open " + path;
        return nullptr;
    }
    // POSIX makes dlsym's object pointer convertible to a function pointer.
    const auto create =
        reinterpret_cast<CreatePluginFunction>(dlsym(module->m_Handle, "createPlugin"));
    module->m_Destroy =
        reinterpret_cast<DestroyPluginFunction>(dlsym(module->m_Handle, "destroyPlugin"));
    if (create == nullptr || module->m_Destroy == nullptr) {
        error.message =
            path + ": not a plug-in module (no createPlugin or destroyPlugin entry point)";
        error.notAPlugin = true;
        return nullptr;
    }
    try {
        module->m_Plugin = create();
    } catch (const std::exception& exception) {
        error.message = path + ": createPlugin failed: " + exception.what();
        return nullptr;
    }
    if (module->m_Plugin == nullptr) {
        error.message = path + ": createPlugin returned no plug-in object";
        return nullptr;
    }
    try {
        module->m_InitializeResult = module->m_Plugin->initializePlugin();
    } catch (const std::exception& exception) {
        error.message = path + ": initializePlugin failed: " + exception.what();
        return nullptr;
    }
    return module;
}

PluginModule::~PluginModule() {
    if (m_Plugin != nullptr) {
        try {
            m_Plugin->cleanupPlugin();
        } catch (...) {
            // Nothing is left to clean up for a plug-in that cannot clean up after itself.
        }
        m_Destroy(m_Plugin);
    }
    if (m_Handle != nullptr) {
        dlclose(m_Handle);
    }
}

namespace {

// corehost's own library directory, ../lib from the executable; empty when it cannot be told.
std::string libraryDirectory() {
    std::string executable(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", executable.data(), executable.size());
    if (length <= 0) {
        return {};
    }
    executable.resize(static_cast<std::size_t>(length));
    const std::size_t slash = executable.rfind('/');
    return executable.substr(0, slash == std::string::npos ? 0 : slash) + "/../lib";
}

}  // namespace

std::string defaultPluginPath() {
    const std::string directory = libraryDirectory();
    return directory.empty() ? "libCorePlugin.so" : directory + "/libCorePlugin.so";
}

std::string pluginPath(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    // Not left to dlopen's own search: which run path it applies depends on the calling object,
    // and a sanitizer's interceptor becomes that caller.
    const std::string directory = libraryDirectory();
    const std::string beside = directory + "/" + name;
    return !directory.empty() && access(beside.c_str(), F_OK) == 0 ? beside : name;
}

}  // namespace corehost
