#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

/// A multi-way choice over pairs of children, a condition then a value: the value of the first
/// "true" condition, otherwise the "default" property. A failed condition counts as false.
class Switch : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_State == CAPTURED; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    bool continueOnError() const override { return true; }
    std::int32_t update(const PluginSDK::String& value) override;
    std::int32_t updateWithError(std::int32_t code) override;

private:
    enum State : std::int32_t {
        AWAITING_CONDITION = 0,
        SKIPPING_VALUE = 1,   // the last condition was false or failed
        CAPTURING_VALUE = 2,  // the last condition was "true"
        CAPTURED = 3,
    };

    std::int32_t m_State = AWAITING_CONDITION;
    PluginSDK::String m_Value;
};

}  // namespace CorePlugin
