#include "cross/Switch.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

void Switch::disposeExpression() {
    m_State = AWAITING_CONDITION;
    m_Value = static_cast<const wchar_t*>(nullptr);
}

std::int32_t Switch::getScalarResult(PluginSDK::String& result) {
    if (m_State == CAPTURED) {
        result = m_Value;
    } else {
        result = getProperty(PropertyName::kDefault);
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Switch::update(const PluginSDK::String& value) {
    switch (m_State) {
        case AWAITING_CONDITION:
            if (value == TruthWord::kTrue) {
                m_State = CAPTURING_VALUE;
            } else if (value == TruthWord::kFalse) {
                m_State = SKIPPING_VALUE;
            } else {
                return PluginSDK::RC_NOT_A_TRUTH_VALUE;
            }
            break;
        case SKIPPING_VALUE:
            m_State = AWAITING_CONDITION;
            break;
        case CAPTURING_VALUE:
            m_Value = value;
            m_State = CAPTURED;
            break;
        default:
            break;
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Switch::updateWithError(std::int32_t code) {
    switch (m_State) {
        case AWAITING_CONDITION:
            m_State = SKIPPING_VALUE;
            break;
        case SKIPPING_VALUE:
            m_State = AWAITING_CONDITION;
            break;
        case CAPTURING_VALUE:
            // The selected value failed: the choice is settled, and fails with it.
            m_State = CAPTURED;
            return code;
        default:
            break;
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
