#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"
#include "common/Comparable.h"

namespace CorePlugin {

/// Compares its two operands as values of the type named by "type" under the relation named by
/// "relation", and answers "true" or "false".
class Compare : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::String& value) override;

    /// 0, or the code of the first required property that is absent ("type", then "relation").
    std::int32_t validateProperties();

    /// A new value of the class that `type` names, holding its neutral value, or null for a name
    /// that is not a type. The caller deletes it.
    Comparable* getComparableOperand(const wchar_t* type);

private:
    bool m_Ready = false;
    bool m_Result = false;
    std::int32_t m_OperandsCounter = 0;
    PluginSDK::String m_FirstOperand;
    PluginSDK::String m_SecondOperand;
};

}  // namespace CorePlugin
