#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// The directory part of the path text in "file", found by text alone.
class FileDirectory : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    /// 0, or -11025 when "file" is absent.
    std::int32_t validateProperties() const;
};

}  // namespace CorePlugin
