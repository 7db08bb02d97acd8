#include "PluginSDK/Plugin.h"

namespace PluginSDK {

Plugin::Plugin() = default;

Plugin::~Plugin() = default;

void Plugin::addExpression(const wchar_t* name) {
    if (name != nullptr) {
        m_ExpressionNames.emplace_back(name);
    }
}

}  // namespace PluginSDK
