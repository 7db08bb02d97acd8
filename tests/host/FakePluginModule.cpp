// A plug-in module of fake expressions, so that corehost's tests do not depend on the real
// plug-in's expression classes. Built again as OtherPlugin, which registers two names that the
// first one registers too, so that they can see which of several plug-ins supplies a name.

#include "FakeExpressions.h"

extern "C" {

__attribute__((visibility("default"))) PluginSDK::Plugin* createPlugin() {
#ifdef OTHER_PLUGIN
    return new fake::FakePlugin(L"OtherPlugin", {L"Collect", L"Text"});
#else
    return new fake::FakePlugin();
#endif
}

__attribute__((visibility("default"))) void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
}
