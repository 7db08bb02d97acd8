#include "cross/ValueOf.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

std::int32_t ValueOf::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const wchar_t* value = getProperty(PropertyName::kValue);
    if (value == nullptr) {
        return PluginSDK::RC_VALUE_ABSENT;
    }
    result = value;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
