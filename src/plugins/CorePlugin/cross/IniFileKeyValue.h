#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// The value of "key" in "section" of the INI file "file", or the empty text.
class IniFileKeyValue : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    /// 0, or the code of the last absent property of "file" (-11014), "section" (-11027) and
    /// "key" (-11020).
    std::int32_t validateProperties() const;
};

}  // namespace CorePlugin
