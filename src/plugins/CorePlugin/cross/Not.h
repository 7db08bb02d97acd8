#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

/// The negation of exactly one truth value.
class Not : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::String& value) override;

private:
    bool m_Ready = false;
    bool m_Result = false;
    std::int32_t m_OperandsCounter = 0;
};

}  // namespace CorePlugin
