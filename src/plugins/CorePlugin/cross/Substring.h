#pragma once

#include <cstdint>

#include "PluginSDK/VectorOperand.h"

namespace CorePlugin {

/// Returns the non-empty lines of "inputString" that contain "searchedString", in order.
class Substring : public PluginSDK::VectorOperand {
public:
    Substring();
    ~Substring() override;

    void disposeExpression() override {}
    /// Appends the matching lines after whatever `result` already holds.
    std::int32_t getVectorResult(PluginSDK::StringVector& result) override;

    std::int32_t validateProperties();
    /// The text of the property `name`, or `defaultText` when it is absent.
    const wchar_t* getOptionalProperty(const wchar_t* name, const wchar_t* defaultText) const;
};

}  // namespace CorePlugin
