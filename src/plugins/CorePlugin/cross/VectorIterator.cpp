#include "cross/VectorIterator.h"

#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"

namespace CorePlugin {

VectorIterator::VectorIterator() = default;

VectorIterator::~VectorIterator() = default;

void VectorIterator::disposeExpression() {
    m_Positions.removeAll();
    m_Count = 0;
}

std::int32_t VectorIterator::getVectorResult(PluginSDK::StringVector& result) {
    result = m_Positions;
    return PluginSDK::RC_SUCCESS;
}

void VectorIterator::countOne() {
    ++m_Count;
    m_Positions.addString(Converter::toString(m_Count));
}

std::int32_t VectorIterator::update(const PluginSDK::String&) {
    countOne();
    return PluginSDK::RC_SUCCESS;
}

std::int32_t VectorIterator::update(const PluginSDK::StringVector& values) {
    for (std::int32_t i = 0; i < values.m_Count; ++i) {
        countOne();
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
