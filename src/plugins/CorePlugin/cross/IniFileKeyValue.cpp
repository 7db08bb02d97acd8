#include "cross/IniFileKeyValue.h"

#include <string>

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
    std::wstring value;
    if (lookUpIniFileKey(*this, value)) {
        result = value.c_str();
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
