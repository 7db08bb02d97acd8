#pragma once

#include <cstdint>

#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorOperator.h"

namespace CorePlugin {

/// Turns one serialised text, as VectorToScalar writes it, back into the list it carries.
class ScalarToVector : public PluginSDK::VectorOperator {
public:
    ScalarToVector();
    ~ScalarToVector() override;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    /// Replaces what `result` held with the elements of the text, read anew at every call.
    std::int32_t getVectorResult(PluginSDK::StringVector& result) override;
    /// Takes a list of exactly one element as that element; -10004 for any other list.
    std::int32_t update(const PluginSDK::StringVector& values) override;
    /// -10004, keeping the first, once a value has arrived.
    std::int32_t update(const PluginSDK::String& value) override;

private:
    bool m_Ready = false;
    PluginSDK::String m_Text;
};

}  // namespace CorePlugin
