#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Slices "inputString" from a start position up to an end position; negative positions count
/// from the end and positions beyond the text are clamped.
class StringSlice : public PluginSDK::ScalarOperand {
public:
    StringSlice();
    ~StringSlice() override;

    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    std::int32_t validateProperties();
};

}  // namespace CorePlugin
