#include "cross/MountRemotePath.h"

#include "cross/MountQuery.h"

namespace CorePlugin {

std::int32_t MountRemotePath::validateProperties() const {
    return validateMountProperties(*this);
}

std::int32_t MountRemotePath::getScalarResult(PluginSDK::String& result) {
    return queryMountTable(*this, validateProperties(), m_MountList, &mountlist::GetMountRemotePath,
                           true, result);
}

}  // namespace CorePlugin
