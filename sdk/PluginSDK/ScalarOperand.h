#pragma once

#include "PluginSDK/ScalarExpression.h"

namespace PluginSDK {

/// A scalar node configured only by its properties: it takes no children and is always ready.
class ScalarOperand : public ScalarExpression {
public:
    bool isOperator() override { return false; }
    bool isReady() override { return true; }
};

}  // namespace PluginSDK
