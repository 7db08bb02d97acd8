// A plug-in module of fake expressions, so that corehost's tests do not depend on the real
// plug-in's expression classes.

#include "FakeExpressions.h"

extern "C" {

__attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
    return new fake::FakePlugin();
}

__attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
}
