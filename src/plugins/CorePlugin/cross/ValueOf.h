#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Brings the constant text of its "value" property into a tree.
class ValueOf : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;
};

}  // namespace CorePlugin
