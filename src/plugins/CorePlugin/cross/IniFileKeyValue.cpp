#include "cross/IniFileKeyValue.h"

#include <string>

#include "CorePluginNames.h"
#include "PluginSDK/IniFileReader.h"
#include "PluginSDK/ResultCodes.h"
#include "cross/IniFileProperties.h"

namespace CorePlugin {

std::int32_t IniFileKeyValue::validateProperties() const {
    return validateIniFileProperties(*this);
}

std::int32_t IniFileKeyValue::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    // Unlike most operands, a failure leaves the empty text rather than a cleared result.
    result = L"";
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    PluginSDK::IniFileReader reader(getProperty(PropertyName::kFile));
    if (!reader.m_IsValid) {
        return PluginSDK::RC_SUCCESS;
    }
    std::wstring value;
    if (reader.getProperty(getProperty(PropertyName::kSection), getProperty(PropertyName::kKey),
                           value)) {
        result = value.c_str();
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
