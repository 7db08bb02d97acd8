#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Cuts the characters between two 0-based positions, both included, out of "inputString".
class Clip : public PluginSDK::ScalarOperand {
public:
    Clip();
    ~Clip() override;

    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    std::int32_t validateProperties();
};

}  // namespace CorePlugin
