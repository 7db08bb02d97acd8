#pragma once

#include <cstdint>

#include "CorePluginNames.h"
#include "PluginSDK/Expression.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

/// The property check both INI expressions share: every property is looked at, and the code of
/// the last absent one wins.
inline std::int32_t validateIniFileProperties(const PluginSDK::Expression& expression) {
    std::int32_t code = PluginSDK::RC_SUCCESS;
    if (expression.getProperty(PropertyName::kFile) == nullptr) {
        code = PluginSDK::RC_PATH_NO_PATH;
    }
    if (expression.getProperty(PropertyName::kSection) == nullptr) {
        code = PluginSDK::RC_FIELD_ABSENT;
    }
    if (expression.getProperty(PropertyName::kKey) == nullptr) {
        code = PluginSDK::RC_KEY_ABSENT;
    }
    return code;
}

}  // namespace CorePlugin
