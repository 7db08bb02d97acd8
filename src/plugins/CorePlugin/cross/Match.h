#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// Tests "inputString" against the wildcard pattern "filter", optionally ignoring case.
class Match : public PluginSDK::ScalarOperand {
public:
    /// The properties of one evaluation; the texts belong to the expression's property storage.
    struct Properties {
        Properties();

        const wchar_t* inputString;
        const wchar_t* filter;
        bool ignoreCase;
    };

    void disposeExpression() override {}
    /// On failure `result` keeps what it held.
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    std::int32_t validateProperties(Properties& properties);
};

}  // namespace CorePlugin
