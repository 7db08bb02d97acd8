#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/String.h"

namespace CorePlugin {

/// The MD5 digest, as 32 lower-case hexadecimal digits, of the UTF-8 form of the texts of all
/// its children joined in order.
class Md5 : public PluginSDK::ScalarOperator {
public:
    using PluginSDK::ScalarOperator::update;

    bool isReady() override { return false; }
    void disposeExpression() override;
    std::int32_t getScalarResult(PluginSDK::String& result) override;
    std::int32_t update(const PluginSDK::String& value) override;

    /// Writes the digest text of `input` to `output`. A character without a UTF-8 form (a
    /// surrogate, a value above U+10FFFF) is digested as U+FFFD.
    void getMd5Signature(const PluginSDK::String& input, PluginSDK::String& output);

private:
    PluginSDK::String m_Input;
};

}  // namespace CorePlugin
