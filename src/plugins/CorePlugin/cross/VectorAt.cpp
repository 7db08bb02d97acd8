#include "cross/VectorAt.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"

namespace CorePlugin {

VectorAt::VectorAt() = default;

VectorAt::~VectorAt() = default;

void VectorAt::disposeExpression() {
    m_Ready = false;
    m_Initialized = false;
    m_Index = 0;
    m_Counter = 0;
    m_Value = "";
}

std::int32_t VectorAt::validateProperties() {
    if (getProperty(PropertyName::kIndex) == nullptr) {
        return PluginSDK::RC_INDEX_ABSENT;
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorAt::inizialize() {
    if (m_Initialized) {
        return PluginSDK::RC_SUCCESS;
    }
    const std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    const std::int32_t conversion =
        Converter::toUnsignedLong(PluginSDK::String(getProperty(PropertyName::kIndex)), m_Index);
    if (conversion != PluginSDK::RC_SUCCESS) {
        return conversion;
    }
    m_Initialized = true;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorAt::update(const PluginSDK::String& value) {
    const std::int32_t status = inizialize();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    // Only an index of 0 can be passed (any other makes the node ready first). Counting stops
    // there, so that no number of values can wrap the counter round to the index.
    if (m_Ready || m_Counter > m_Index) {
        return PluginSDK::RC_SUCCESS;
    }
    ++m_Counter;
    if (m_Counter == m_Index) {
        m_Value = value;
        m_Ready = true;
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorAt::update(const PluginSDK::StringVector& values) {
    std::int32_t status = PluginSDK::RC_SUCCESS;
    for (std::int32_t i = 0; !m_Ready && i < values.m_Count; ++i) {
        status = update(values[i]);
        if (status != PluginSDK::RC_SUCCESS) {
            break;
        }
    }
    return status;
}

std::int32_t VectorAt::getScalarResult(PluginSDK::String& result) {
    if (m_Index == m_Counter) {
        result = m_Value;
        return PluginSDK::RC_SUCCESS;
    }
    return PluginSDK::RC_TOO_FEW_VALUES;
}

}  // namespace CorePlugin
