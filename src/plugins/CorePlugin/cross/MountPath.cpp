#include "cross/MountPath.h"

#include "PluginSDK/ResultCodes.h"
#include "cross/MountQuery.h"

namespace CorePlugin {

std::int32_t MountPath::validateProperties() const {
    return validateMountProperties(*this);
}

std::int32_t MountPath::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    return queryMountTable(*this, m_MountList, &mountlist::GetMountPath, false, result);
}

}  // namespace CorePlugin
