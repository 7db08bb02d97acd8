#include "cross/IniFileKeyExists.h"

#include <string>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"
#include "cross/IniFileProperties.h"

namespace CorePlugin {

std::int32_t IniFileKeyExists::validateProperties() const {
    return validateIniFileProperties(*this);
}

std::int32_t IniFileKeyExists::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    result = Converter::toString(false);
    std::wstring value;
    if (lookUpIniFileKey(*this, value)) {
        result = Converter::toString(true);
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
