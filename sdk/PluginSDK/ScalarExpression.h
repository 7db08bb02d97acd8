#pragma once

#include <cstdint>

#include "PluginSDK/Expression.h"
#include "PluginSDK/String.h"

namespace PluginSDK {

/// A node whose result is one wide text.
class ScalarExpression : public Expression {
public:
    std::int32_t getType() override { return TYPE_SCALAR; }
    virtual std::int32_t getScalarResult(String& result) = 0;
};

}  // namespace PluginSDK
