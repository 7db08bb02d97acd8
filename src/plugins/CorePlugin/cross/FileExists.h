#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Tells whether "absolutePath" names a regular file.
class FileExists : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    /// 0, or -11025 when "absolutePath" is absent.
    std::int32_t validateProperties() const;
};

}  // namespace CorePlugin
