#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Crops "inputString" to the part between a start marker and an end marker, searched from the
/// left, from the right, or first start and last end.
class StringCrop : public PluginSDK::ScalarOperand {
public:
    StringCrop();
    ~StringCrop() override;

    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    std::int32_t validateProperties();
};

}  // namespace CorePlugin
