#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"

namespace CorePlugin {

/// Picks the value at the 1-based position "index" out of the values its children deliver,
/// counting each element of a list as one value, and is ready as soon as that value arrives.
class VectorAt : public PluginSDK::ScalarOperator {
public:
    VectorAt();
    ~VectorAt() override;

    bool isReady() override { return m_Ready; }
    void disposeExpression() override;
    /// The chosen value; -11035 with `result` untouched when the count does not stand at
    /// "index": fewer values arrived, or "index" is 0 and counting has passed it.
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::StringVector& values) override;
    std::int32_t update(const PluginSDK::String& value) override;

    /// Reads "index" once per evaluation: 0, -11034 (absent) or -11019 (not a number, read
    /// again at the next value).
    std::int32_t inizialize();
    std::int32_t validateProperties();

private:
    bool m_Ready = false;
    bool m_Initialized = false;
    std::uint32_t m_Index = 0;
    std::uint32_t m_Counter = 0;
    PluginSDK::String m_Value;
};

}  // namespace CorePlugin
