#include "cross/Or.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"

namespace CorePlugin {

void Or::disposeExpression() {
    m_Ready = false;
    m_Result = false;
}

std::int32_t Or::getScalarResult(PluginSDK::String& result) {
    result = Converter::toString(m_Result);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Or::update(const PluginSDK::String& value) {
    if (value != TruthWord::kTrue && value != TruthWord::kFalse) {
        return PluginSDK::RC_NOT_A_TRUTH_VALUE;
    }
    // Operands after the deciding one are still checked, but change nothing.
    if (!m_Ready && value == TruthWord::kTrue) {
        m_Result = true;
        m_Ready = true;
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
