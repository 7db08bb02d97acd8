#include "cross/MountServer.h"

#include "cross/MountQuery.h"

namespace CorePlugin {

std::int32_t MountServer::validateProperties() const {
    return validateMountProperties(*this);
}

std::int32_t MountServer::getScalarResult(PluginSDK::String& result) {
    return queryMountTable(*this, validateProperties(), m_MountList, &mountlist::GetMountServer,
                           false, result);
}

}  // namespace CorePlugin
