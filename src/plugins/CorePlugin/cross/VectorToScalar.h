#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorString.h"

namespace CorePlugin {

/// Carries the values of its children, elements of lists one by one, as one serialised text that
/// ScalarToVector turns back into the list.
class VectorToScalar : public PluginSDK::ScalarOperator {
public:
    VectorToScalar();
    ~VectorToScalar() override;

    bool isReady() override { return false; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::StringVector& values) override;
    std::int32_t update(const PluginSDK::String& value) override;

private:
    PluginSDK::VectorString m_Elements;
};

}  // namespace CorePlugin
