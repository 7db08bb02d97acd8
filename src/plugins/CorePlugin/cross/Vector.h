#pragma once

#include <cstdint>
#include <string>

#include "PluginSDK/String.h"
#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorOperator.h"

namespace CorePlugin {

/// Gathers the results of its children, elements of lists one by one, keeping those that match
/// the wildcard pattern "filter" (without regard to case when "ignoreCase" is "true").
class Vector : public PluginSDK::VectorOperator {
public:
    Vector();
    ~Vector() override;

    bool isReady() override { return false; }
    void disposeExpression() override;
    /// Replaces what `result` held with the accepted values, in arrival order.
    std::int32_t getVectorResult(PluginSDK::StringVector& result) override;
    std::int32_t update(const PluginSDK::StringVector& values) override;
    std::int32_t update(const PluginSDK::String& value) override;

    /// Reads "filter" and "ignoreCase"; the first value of each evaluation calls it.
    virtual void initialize();

    // Read-only views of the state, for hosts and tests that inspect a node.
    bool isInitialized() const { return m_Initialized; }
    bool ignoresCase() const { return m_IgnoreCase; }
    const std::wstring& filter() const { return m_Filter; }
    const PluginSDK::StringVector& values() const { return m_Values; }

protected:
    void sortValues(bool descending) { m_Values.sort(descending); }

private:
    bool m_Initialized = false;
    bool m_IgnoreCase = false;
    std::wstring m_Filter;
    PluginSDK::StringVector m_Values;
};

}  // namespace CorePlugin
