#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

/// Joins the texts of its children with the "separator" property between neighbours, leaving
/// out empty texts after the first unless "ifEmpty" is "add".
class Concat : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return false; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::String& value) override;

    /// Reads the properties once per evaluation, at its first operand.
    void init();

private:
    PluginSDK::String m_Joined;
    std::int32_t m_OperandsCounter = 0;
    // A copy, not a pointer into the property storage, so that a property changed during an
    // evaluation can never leave it dangling.
    PluginSDK::String m_Separator;
    bool m_SkipEmpty = true;
    bool m_Initialised = false;
};

}  // namespace CorePlugin
