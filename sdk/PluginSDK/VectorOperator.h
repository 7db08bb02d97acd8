#pragma once

#include <cstdint>

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorExpression.h"

namespace PluginSDK {

/// A vector node that the host feeds with the results of its children, one by one.
class VectorOperator : public VectorExpression {
public:
    bool isOperator() override { return true; }
    virtual bool continueOnError() const { return false; }
    virtual std::int32_t update(const StringVector& values) = 0;
    virtual std::int32_t update(const String& value) = 0;
    virtual std::int32_t updateWithError(std::int32_t) { return RC_NOT_SUPPORTED; }
};

}  // namespace PluginSDK
