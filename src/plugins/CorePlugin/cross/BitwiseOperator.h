#pragma once

#include <cstdint>

#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarOperator.h"
#include "common/Assert.h"
#include "common/Converter.h"

namespace CorePlugin {

/// Combines exactly two unsigned 32-bit numbers, given as decimal text, with one bit operation.
template <std::uint32_t (*Operation)(std::uint32_t, std::uint32_t)>
class BitwiseOperator : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return m_Ready; }

    void disposeExpression() override {
        m_Ready = false;
        m_FirstOperand = 0;
        m_SecondOperand = 0;
        m_OperandsCounter = 0;
    }

    std::int32_t getScalarResult(PluginSDK::String& result) override {
        result = static_cast<const wchar_t*>(nullptr);
        if (m_OperandsCounter != 2) {
            return PluginSDK::RC_OPERANDS_MISSING;
        }
        result = Converter::toString(Operation(m_FirstOperand, m_SecondOperand));
        return PluginSDK::RC_SUCCESS;
    }

    std::int32_t update(const PluginSDK::String& value) override {
        // The count is checked before the text: a surplus operand is refused whatever it says.
        if (m_OperandsCounter == 2) {
            return PluginSDK::RC_THIRD_OPERAND;
        }
        std::uint32_t number = 0;
        const std::int32_t code = Converter::toUnsignedLong(value, number);
        if (code != PluginSDK::RC_SUCCESS) {
            return code;
        }
        if (++m_OperandsCounter == 1) {
            m_FirstOperand = number;
        } else {
            COREPLUGIN_ASSERT(m_OperandsCounter == 2,
                              "./../../../../src/plugins/CorePlugin/cross/BitwiseOperator",
                              __LINE__);
            m_SecondOperand = number;
            m_Ready = true;
        }
        return PluginSDK::RC_SUCCESS;
    }

private:
    bool m_Ready = false;
    std::uint32_t m_FirstOperand = 0;
    std::uint32_t m_SecondOperand = 0;
    std::int32_t m_OperandsCounter = 0;
};

}  // namespace CorePlugin
