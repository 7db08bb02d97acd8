#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"

namespace CorePlugin {

/// The conjunction of any number of truth values; settled by the first "false".
class And : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::String& value) override;

private:
    bool m_Ready = false;
    bool m_Result = true;
};

}  // namespace CorePlugin
