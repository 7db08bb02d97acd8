#include "cross/Vector.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "utils/Wildcard.h"

namespace CorePlugin {

Vector::Vector() = default;

Vector::~Vector() = default;

void Vector::disposeExpression() {
    // The filter and the case flag stay: the next initialize() overwrites them before any use.
    m_Initialized = false;
    m_Values.removeAll();
}

std::int32_t Vector::getVectorResult(PluginSDK::StringVector& result) {
    result = m_Values;
    return PluginSDK::RC_SUCCESS;
}

void Vector::initialize() {
    const PluginSDK::String filter(getProperty(PropertyName::kFilter));
    const PluginSDK::String ignoreCase(getProperty(PropertyName::kIgnoreCase));
    m_IgnoreCase = ignoreCase == TruthWord::kTrue;
    m_Filter = static_cast<const wchar_t*>(filter);
    if (m_IgnoreCase) {
        utils::stringToLower(m_Filter);
    }
    m_Initialized = true;
}

std::int32_t Vector::update(const PluginSDK::String& value) {
    if (!m_Initialized) {
        initialize();
    }
    // The folded copy only decides; the list keeps the value as it was offered.
    std::wstring text(static_cast<const wchar_t*>(value));
    if (m_IgnoreCase) {
        utils::stringToLower(text);
    }
    if (utils::matchWildcard(m_Filter, text)) {
        m_Values.addString(value);
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Vector::update(const PluginSDK::StringVector& values) {
    // The count is taken once, so that a list that grows while it is read cannot loop for ever.
    const std::int32_t count = values.m_Count;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t status = update(values[i]);
        if (status != PluginSDK::RC_SUCCESS) {
            return status;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
