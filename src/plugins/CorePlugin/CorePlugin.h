#pragma once

#include <cstdint>

#include "PluginSDK/Plugin.h"
#include "base/mountlist.h"

namespace PluginSDK {

/// The plug-in object: registers the expression names, builds expressions by name, keeps the
/// configuration property and owns the mount table the mount expressions read.
class CorePlugin : public Plugin {
public:
    CorePlugin();
    ~CorePlugin() override;

    void setProperty(const wchar_t* name, const wchar_t* value) override;
    PluginVersion getVersion() const override;
    const wchar_t* getName() const override;
    void* getUnknownSoftware() override;
    std::int32_t initializePlugin() override;
    std::int32_t cleanupPlugin() override;
    std::int32_t createExpression(const wchar_t* name, Expression** expression) override;
    std::int32_t destroyExpression(Expression* expression) override;

    const mountlist* getMountList() const { return &m_MountList; }

private:
    mountlist m_MountList;
};

}  // namespace PluginSDK

extern "C" {
__attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin();
__attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin);
}
