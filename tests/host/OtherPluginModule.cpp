// A second plug-in module of fake expressions, registering two names that the first one registers
// too, so that corehost's tests can see which of several plug-ins supplies a name.

#include "FakeExpressions.h"

extern "C" {

__attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new fake::FakePlugin(L"OtherPlugin", {L"Collect", L"Text"});
}

__attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
}
