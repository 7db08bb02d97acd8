#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace PluginSDK {

class Expression;

/// Four consecutive 32-bit numbers, returned by value from Plugin::getVersion().
struct PluginVersion {
    std::int32_t majorNumber;
    std::int32_t minorNumber;
    std::int32_t releaseNumber;
    std::int32_t buildNumber;
};

/// The host's plug-in interface. The virtual operations are declared in the order of their
/// slots, which hosts built against this interface call by position.
class Plugin {
public:
    Plugin();
    virtual ~Plugin();

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    virtual void setProperty(const wchar_t* name, const wchar_t* value) = 0;
    virtual PluginVersion getVersion() const = 0;
    virtual const wchar_t* getName() const = 0;
    virtual void* getUnknownSoftware() = 0;
    virtual std::int32_t initializePlugin() = 0;
    virtual std::int32_t cleanupPlugin() = 0;
    virtual std::int32_t createExpression(const wchar_t* name, Expression** expression) = 0;
    virtual std::int32_t destroyExpression(Expression* expression) = 0;

    /// Registers an expression name with the host; null is ignored.
    void addExpression(const wchar_t* name);

    /// The host's side: the registered names, in registration order.
    const std::vector<std::wstring>& getExpressionNames() const { return m_ExpressionNames; }

private:
    std::vector<std::wstring> m_ExpressionNames;
};

}  // namespace PluginSDK

extern "C" {
/// The plug-in module's entry points, looked up by these names.
using CreatePluginFunction = PluginSDK::Plugin* (*)();
using DestroyPluginFunction = void (*)(PluginSDK::Plugin*);
}
