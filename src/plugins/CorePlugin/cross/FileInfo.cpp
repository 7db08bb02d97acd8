#include "cross/FileInfo.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Assert.h"
#include "common/Converter.h"
#include "common/File.h"

namespace CorePlugin {

namespace {

constexpr char kSource[] = "./../../../../src/plugins/CorePlugin/cross/FileInfo";

struct FieldRow {
    const wchar_t* name;
    std::int32_t (File::*read)(std::uint32_t*) const;
};

// Lookup order.
constexpr FieldRow kFields[] = {
    {FieldName::kSize, &File::size},      {FieldName::kInode, &File::getINode},
    {FieldName::kMtime, &File::getMTime}, {FieldName::kCtime, &File::getCTime},
    {FieldName::kAtime, &File::getATime},
};

}  // namespace

std::int32_t FileInfo::validateProperties() const {
    if (getProperty(PropertyName::kAbsolutePath) == nullptr) {
        return PluginSDK::RC_ABSOLUTE_PATH_ABSENT;
    }
    if (getProperty(PropertyName::kField) == nullptr) {
        return PluginSDK::RC_FIELD_ABSENT;
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t FileInfo::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    return fileInfo(getProperty(PropertyName::kAbsolutePath), getProperty(PropertyName::kField),
                    result);
}

std::int32_t FileInfo::fileInfo(const wchar_t* absolutePath, const wchar_t* field,
                                PluginSDK::String& result) const {
    COREPLUGIN_ASSERT(absolutePath != NULL, kSource, 66);
    COREPLUGIN_ASSERT(field != NULL, kSource, 67);
    const File file(absolutePath);
    result = static_cast<const wchar_t*>(nullptr);
    for (const FieldRow& row : kFields) {
        if (std::wcscmp(field, row.name) == 0) {
            std::uint32_t value = 0;
            const std::int32_t code = (file.*row.read)(&value);
            if (code != PluginSDK::RC_SUCCESS) {
                return code;
            }
            Converter::assign(value, result);
            return PluginSDK::RC_SUCCESS;
        }
    }
    return PluginSDK::RC_UNKNOWN_FIELD;
}

}  // namespace CorePlugin
