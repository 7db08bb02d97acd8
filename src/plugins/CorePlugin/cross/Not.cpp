#include "cross/Not.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"

namespace CorePlugin {

void Not::disposeExpression() {
    m_Ready = false;
    m_Result = false;
    m_OperandsCounter = 0;
}

std::int32_t Not::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (m_OperandsCounter != 1) {
        return PluginSDK::RC_OPERANDS_MISSING;
    }
    result = Converter::toString(m_Result);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Not::update(const PluginSDK::String& value) {
    // The word is checked before the count: a surplus non-word is reported as a non-word.
    if (value != TruthWord::kTrue && value != TruthWord::kFalse) {
        return PluginSDK::RC_NOT_A_TRUTH_VALUE;
    }
    if (m_OperandsCounter == 1) {
        return PluginSDK::RC_SECOND_OPERAND;
    }
    ++m_OperandsCounter;
    m_Result = value == TruthWord::kFalse;
    m_Ready = true;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
