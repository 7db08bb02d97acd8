#include "cross/VectorToScalar.h"

#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

VectorToScalar::VectorToScalar() = default;

VectorToScalar::~VectorToScalar() = default;

void VectorToScalar::disposeExpression() {
    m_Elements.reset();
}

std::int32_t VectorToScalar::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(m_Elements);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorToScalar::update(const PluginSDK::String& value) {
    m_Elements += value;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorToScalar::update(const PluginSDK::StringVector& values) {
    for (std::int32_t i = 0; i < values.m_Count; ++i) {
        m_Elements += values[i];
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
