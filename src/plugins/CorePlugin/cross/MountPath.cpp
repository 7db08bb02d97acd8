#include "cross/MountPath.h"

#include "cross/MountQuery.h"

namespace CorePlugin {

std::int32_t MountPath::validateProperties() const {
    return validateMountProperties(*this);
}

std::int32_t MountPath::getScalarResult(PluginSDK::String& result) {
    return queryMountTable(*this, validateProperties(), m_MountList, &mountlist::GetMountPath,
                           false, result);
}

}  // namespace CorePlugin
