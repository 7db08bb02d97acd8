#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Tells whether "searchedString" occurs at the start, at the end or anywhere in "inputString".
class Contains : public PluginSDK::ScalarOperand {
public:
    Contains();
    ~Contains() override;

    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    std::int32_t validateProperties();
};

}  // namespace CorePlugin
