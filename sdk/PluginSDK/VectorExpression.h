#pragma once

#include <cstdint>

#include "PluginSDK/Expression.h"
#include "PluginSDK/StringVector.h"

namespace PluginSDK {

/// A node whose result is a list of wide texts.
class VectorExpression : public Expression {
public:
    std::int32_t getType() override { return TYPE_VECTOR; }
    virtual std::int32_t getVectorResult(StringVector& result) = 0;
};

}  // namespace PluginSDK
