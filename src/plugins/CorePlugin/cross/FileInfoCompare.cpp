#include "cross/FileInfoCompare.h"

#include <cwchar>
#include <memory>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/File.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"

namespace CorePlugin {

namespace {

struct FieldRow {
    const wchar_t* name;
    std::int32_t (File::*read)(std::uint32_t*) const;
    bool isSigned;  // the size compares as a signed number, every other field as unsigned
};

// Lookup order.
constexpr FieldRow kFields[] = {
    {FieldName::kSize, &File::size, true},       {FieldName::kInode, &File::getINode, false},
    {FieldName::kCtime, &File::getCTime, false}, {FieldName::kMtime, &File::getMTime, false},
    {FieldName::kAtime, &File::getATime, false},
};

const FieldRow* findField(const wchar_t* name) {
    for (const FieldRow& row : kFields) {
        if (std::wcscmp(name, row.name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

Comparable* newValue(const FieldRow& field, std::uint32_t value) {
    if (field.isSigned) {
        return new Integer(static_cast<std::int32_t>(value));
    }
    return new UInteger(value);
}

}  // namespace

std::int32_t FileInfoCompare::validateProperties() const {
    if (getProperty(PropertyName::kAbsolutePath) == nullptr) {
        return PluginSDK::RC_ABSOLUTE_PATH_ABSENT;
    }
    if (getProperty(PropertyName::kField) == nullptr) {
        return PluginSDK::RC_FIELD_ABSENT;
    }
    if (getProperty(PropertyName::kRelation) == nullptr) {
        return PluginSDK::RC_RELATION_ABSENT;
    }
    if (getProperty(PropertyName::kValue) == nullptr) {
        return PluginSDK::RC_VALUE_ABSENT;
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t FileInfoCompare::getFirstOperand(Comparable** first) {
    if (first == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    *first = nullptr;
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    const wchar_t* mustExistText = getProperty(PropertyName::kMustExist);
    const bool mustExist =
        mustExistText != nullptr && std::wcscmp(mustExistText, TruthWord::kTrue) == 0;
    const File file(getProperty(PropertyName::kAbsolutePath));
    bool exists = false;
    std::int32_t status = file.exists(&exists);
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    if (!exists) {
        if (mustExist) {
            return PluginSDK::RC_FILE_MUST_EXIST;
        }
        *first = new String(L"");
        return PluginSDK::RC_SUCCESS;
    }
    const FieldRow* field = findField(getProperty(PropertyName::kField));
    if (field == nullptr) {
        return PluginSDK::RC_UNKNOWN_FIELD;
    }
    std::uint32_t value = 0;
    status = (file.*field->read)(&value);
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    *first = newValue(*field, value);
    return PluginSDK::RC_SUCCESS;
}

std::int32_t FileInfoCompare::getSecondOperand(Comparable** second) {
    if (second == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    *second = nullptr;
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    const FieldRow* field = findField(getProperty(PropertyName::kField));
    if (field == nullptr) {
        return PluginSDK::RC_UNKNOWN_FIELD;
    }
    std::unique_ptr<Comparable> value(newValue(*field, 0));
    const std::int32_t status = value->set(getProperty(PropertyName::kValue));
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    *second = value.release();
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
