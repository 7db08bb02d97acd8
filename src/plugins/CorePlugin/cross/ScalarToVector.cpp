#include "cross/ScalarToVector.h"

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/VectorString.h"

namespace CorePlugin {

ScalarToVector::ScalarToVector() = default;

ScalarToVector::~ScalarToVector() = default;

void ScalarToVector::disposeExpression() {
    m_Text = L"";
    m_Ready = false;
}

std::int32_t ScalarToVector::getVectorResult(PluginSDK::StringVector& result) {
    result.removeAll();
    PluginSDK::VectorString::toVector(m_Text, result);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t ScalarToVector::update(const PluginSDK::String& value) {
    if (m_Ready) {
        return PluginSDK::RC_SECOND_OPERAND;
    }
    m_Text = value;
    m_Ready = true;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t ScalarToVector::update(const PluginSDK::StringVector& values) {
    if (values.m_Count != 1 || m_Ready) {
        return PluginSDK::RC_SECOND_OPERAND;
    }
    return update(values[0]);
}

}  // namespace CorePlugin
