#pragma once

#include <cstdint>

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarExpression.h"
#include "PluginSDK/StringVector.h"

namespace PluginSDK {

/// A scalar node that the host feeds with the results of its children, one by one.
class ScalarOperator : public ScalarExpression {
public:
    bool isOperator() override { return true; }
    virtual bool continueOnError() const { return false; }
    virtual std::int32_t update(const StringVector&) { return RC_NOT_SUPPORTED; }
    virtual std::int32_t update(const String& value) = 0;
    virtual std::int32_t updateWithError(std::int32_t) { return RC_NOT_SUPPORTED; }
};

}  // namespace PluginSDK
