#pragma once

#include <cstdint>

#include "PluginSDK/ScalarOperand.h"

namespace CorePlugin {

/// One attribute of a regular file as decimal text: its size, inode number or a time stamp.
class FileInfo : public PluginSDK::ScalarOperand {
public:
    void disposeExpression() override {}
    std::int32_t getScalarResult(PluginSDK::String& result) override;

    /// 0, -11025 when "absolutePath" is absent, else -11027 when "field" is absent.
    std::int32_t validateProperties() const;

    /// The attribute named by `field` of the file at `absolutePath`, both non-null: 0, -11011
    /// for an unknown field (before the file is looked at), or the file accessor's code.
    std::int32_t fileInfo(const wchar_t* absolutePath, const wchar_t* field,
                          PluginSDK::String& result) const;
};

}  // namespace CorePlugin
