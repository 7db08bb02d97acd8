#pragma once

#include <cstdint>

#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorOperator.h"

namespace CorePlugin {

/// Numbers the values its children deliver: after n values its list is "1" to n, the positions
/// that VectorAt's "index" takes.
class VectorIterator : public PluginSDK::VectorOperator {
public:
    VectorIterator();
    ~VectorIterator() override;

    bool isReady() override { return false; }
    void disposeExpression() override;
    std::int32_t getVectorResult(PluginSDK::StringVector& result) override;
    std::int32_t update(const PluginSDK::StringVector& values) override;
    std::int32_t update(const PluginSDK::String& value) override;

private:
    void countOne();

    std::int32_t m_Count = 0;
    PluginSDK::StringVector m_Positions;
};

}  // namespace CorePlugin
