#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"
#include "base/mountlist.h"

namespace CorePlugin {

/// The remote path behind the mount that holds "absolutePath", or the path itself.
class MountRemotePath : public PluginSDK::ScalarOperand {
public:
    /// Reads `mounts`, which the plug-in object owns and keeps alive longer than this.
    explicit MountRemotePath(const mountlist* mounts) : m_MountList(mounts) {}

    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    /// 0, or -11025 when "absolutePath" is absent.
    std::int32_t validateProperties() const;

    /// The table this expression reads.
    const mountlist* getMountList() const { return m_MountList; }

private:
    const mountlist* m_MountList;
};

}  // namespace CorePlugin
