#include "cross/FileInfo.h"

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

// The field names are a few characters long and mostly differ at the first: compared here rather
// than through the library's vectorised wcscmp, whose set-up costs more than the comparison.
bool sameText(const wchar_t* left, const wchar_t* right) {
    for (; *left == *right; ++left, ++right) {
        if (*left == L'\0') {
            return true;
        }
    }
    return false;
}

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
    // validateProperties() with the two lookups the evaluation needs, checked in its order. The
    // result is emptied before anything else can fail: here, or first thing in fileInfo().
    const wchar_t* absolutePath = getProperty(PropertyName::kAbsolutePath);
    const wchar_t* field = getProperty(PropertyName::kField);
    if (absolutePath == nullptr || field == nullptr) {
        result = static_cast<const wchar_t*>(nullptr);
        return absolutePath == nullptr ? PluginSDK::RC_ABSOLUTE_PATH_ABSENT
                                       : PluginSDK::RC_FIELD_ABSENT;
    }
    return fileInfo(absolutePath, field, result);
}

std::int32_t FileInfo::fileInfo(const wchar_t* absolutePath, const wchar_t* field,
                                PluginSDK::String& result) const {
    COREPLUGIN_ASSERT(absolutePath != NULL, kSource, 66);
    COREPLUGIN_ASSERT(field != NULL, kSource, 67);
    result = static_cast<const wchar_t*>(nullptr);
    const File file(absolutePath);
    for (const FieldRow& row : kFields) {
        if (sameText(field, row.name)) {
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
