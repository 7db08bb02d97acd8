// A minimal third-party plug-in: one expression of its own, Hello, which greets its "name"
// property. Built against the installed SDK, it runs in corehost beside CorePlugin, whose Concat
// joins its result with others (see README.md).

#include <cstdint>
#include <cwchar>

#include "PluginSDK/Plugin.h"
#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarOperand.h"

namespace hello {

/// "Hello, NAME!" for the "name" property, "Hello, world!" without one.
class Hello : public PluginSDK::ScalarOperand {
public:
    // Nothing is kept between evaluations, so nothing is reset.
    void disposeExpression() override {}

    std::int32_t getScalarResult(PluginSDK::String& result) override {
        const wchar_t* name = getProperty(L"name");
        result = L"Hello, ";
        result += name != nullptr ? name : L"world";
        result += L"!";
        return PluginSDK::RC_SUCCESS;
    }
};

/// The plug-in object: registers the one name and builds its expression.
class HelloPlugin : public PluginSDK::Plugin {
public:
    // This plug-in has no configuration; a host offers every plug-in every property.
    void setProperty(const wchar_t*, const wchar_t*) override {}
    PluginSDK::PluginVersion getVersion() const override { return {1, 0, 0, 0}; }
    const wchar_t* getName() const override { return L"HelloPlugin"; }
    void* getUnknownSoftware() override { return nullptr; }

    std::int32_t initializePlugin() override {
        addExpression(L"Hello");
        return PluginSDK::RC_SUCCESS;
    }
    std::int32_t cleanupPlugin() override { return PluginSDK::RC_SUCCESS; }

    std::int32_t createExpression(const wchar_t* name,
                                  PluginSDK::Expression** expression) override {
        if (name == nullptr || expression == nullptr) {
            return PluginSDK::RC_INVALID_ARGUMENT;
        }
        if (std::wcscmp(name, L"Hello") != 0) {
            *expression = nullptr;
            return PluginSDK::RC_UNKNOWN_EXPRESSION;
        }
        *expression = new Hello();
        return PluginSDK::RC_SUCCESS;
    }

    std::int32_t destroyExpression(PluginSDK::Expression* expression) override {
        delete expression;
        return PluginSDK::RC_SUCCESS;
    }
};

}  // namespace hello

// The host looks the entry points up by these plain names; everything else stays hidden.
extern "C" {

__attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new hello::HelloPlugin();
}

__attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
}
