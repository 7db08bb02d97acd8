#pragma once

#include <cstdint>
#include <string>

#include "CorePluginNames.h"
#include "PluginSDK/Expression.h"
#include "PluginSDK/IniFileReader.h"
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

/// The lookup both INI expressions share once their properties are present: true with the
/// value of "key" in "section" of the file "file". A file that cannot be read answers false,
/// like a missing key.
inline bool lookUpIniFileKey(const PluginSDK::Expression& expression, std::wstring& value) {
    PluginSDK::IniFileReader reader(expression.getProperty(PropertyName::kFile));
    return reader.m_IsValid &&
           reader.getProperty(expression.getProperty(PropertyName::kSection),
                              expression.getProperty(PropertyName::kKey), value);
}

}  // namespace CorePlugin
