#pragma once

#include "PluginSDK/VectorExpression.h"

namespace PluginSDK {

/// A vector node configured only by its properties: it takes no children and is always ready.
class VectorOperand : public VectorExpression {
public:
    bool isOperator() override { return false; }
    bool isReady() override { return true; }
};

}  // namespace PluginSDK
