#include "CorePlugin.h"

#include <cwchar>

#include "ExpressionTable.h"
#include "PluginSDK/Configuration.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Assert.h"
#include "tracing/Trace.h"

namespace {

constexpr wchar_t kPluginName[] = L"CorePlugin";
constexpr wchar_t kRegistrySectionProperty[] = L"defaultWindowsRegistrySection";
constexpr const wchar_t* kRegistrySectionValues[] = {L"32", L"64", L"32or64", L"64or32"};
constexpr char kSourceFile[] = "./../../../src/plugins/CorePlugin/CorePlugin.cpp";

using ::CorePlugin::ExpressionDescriptor;

bool isAcceptedProperty(const wchar_t* name, const wchar_t* value) {
    // A null text is no name and no value: it is skipped like any other unexpected pair.
    if (name == nullptr || value == nullptr || std::wcscmp(name, kRegistrySectionProperty) != 0) {
        return false;
    }
    for (const wchar_t* accepted : kRegistrySectionValues) {
        if (std::wcscmp(value, accepted) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace PluginSDK {

CorePlugin::CorePlugin() = default;

CorePlugin::~CorePlugin() = default;

void CorePlugin::setProperty(const wchar_t* name, const wchar_t* value) {
    if (isAcceptedProperty(name, value)) {
        Configuration* configuration = nullptr;
        Configuration::get(kPluginName, configuration);
        COREPLUGIN_ASSERT(configuration != 0, "./../../../src/plugins/CorePlugin/CorePlugin", 210);
        configuration->setProperty(String(name), String(value));
        return;
    }
    Trace trace(Tracer::getInstance(Tracer::PLUGIN),
                L"CorePlugin::setProperty(const wchar_t *, const wchar_t *)");
    trace.setLevel(2);
    trace << trace.pos(kSourceFile, 201) << L"Unexpected plugin property, skipping. " << L"plugin=["
          << kPluginName << L"] " << L"name=[" << (name ? name : L"") << L"] " << L"value=["
          << (value ? value : L"") << L"]" << Trace::END_OF_MESSAGE;
}

PluginVersion CorePlugin::getVersion() const {
    return PluginVersion{1, 1, 1, 1};
}

const wchar_t* CorePlugin::getName() const {
    return kPluginName;
}

void* CorePlugin::getUnknownSoftware() {
    return nullptr;
}

std::int32_t CorePlugin::initializePlugin() {
    for (const ExpressionDescriptor& row : ::CorePlugin::expressionTable()) {
        addExpression(row.name);
    }
    return m_MountList.Initialize();
}

std::int32_t CorePlugin::cleanupPlugin() {
    return Configuration::cleanup(kPluginName);
}

std::int32_t CorePlugin::createExpression(const wchar_t* name, Expression** expression) {
    if (name == nullptr || expression == nullptr) {
        return RC_INVALID_ARGUMENT;
    }
    for (const ExpressionDescriptor& row : ::CorePlugin::expressionTable()) {
        // The first character rules out most rows without a call.
        if (row.name[0] == name[0] && std::wcscmp(row.name, name) == 0) {
            *expression = row.make(&m_MountList);
            return RC_SUCCESS;
        }
    }
    *expression = nullptr;
    return RC_UNKNOWN_EXPRESSION;
}

std::int32_t CorePlugin::destroyExpression(Expression* expression) {
    delete expression;
    return RC_SUCCESS;
}

}  // namespace PluginSDK

PluginSDK::Plugin* createPlugin() {
    return new PluginSDK::CorePlugin();
}

void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
