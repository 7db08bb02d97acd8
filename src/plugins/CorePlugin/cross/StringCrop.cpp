#include "cross/StringCrop.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/String.h"
#include "cross/OperandTrace.h"

namespace CorePlugin {

namespace {

// Source positions of the messages are fixed: readers of the trace key on them.
constexpr char kSourceFile[] = "./../../../../src/plugins/CorePlugin/cross/StringCrop.cpp";
constexpr int kLineNoInputString = 192;
constexpr int kLineNoStartString = 196;
constexpr int kLineNoEndString = 200;

enum class SeekFrom { kDefault, kLeft, kRight, kInvalid };

SeekFrom seekFromOf(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') {
        return SeekFrom::kDefault;
    }
    if (std::wcscmp(text, PropertyValue::kLeft) == 0) {
        return SeekFrom::kLeft;
    }
    if (std::wcscmp(text, PropertyValue::kRight) == 0) {
        return SeekFrom::kRight;
    }
    return SeekFrom::kInvalid;
}

// The position after the first start marker, or 0 when there is none (or it is empty).
int afterFirst(const ::String& input, const ::String& marker) {
    if (marker.length() == 0) {
        return 0;
    }
    const int found = input.indexOf(marker, 0);
    return found < 0 ? 0 : found + marker.length();
}

}  // namespace

StringCrop::StringCrop() {
    Trace trace(operandTracer(), "StringCrop::StringCrop()");
}

StringCrop::~StringCrop() {
    Trace trace(operandTracer(), "StringCrop::~StringCrop()");
}

std::int32_t StringCrop::validateProperties() {
    Trace trace(operandTracer(), "StringCrop::validateProperties()");
    static constexpr RequiredProperty kRequired[] = {
        {PropertyName::kInputString, PluginSDK::RC_TEXT_PROPERTY_ABSENT, kLineNoInputString,
         "Unspecified inputString!"},
        {PropertyName::kStartString, PluginSDK::RC_INDEX_PROPERTY_ABSENT, kLineNoStartString,
         "Unspecified startString!"},
        {PropertyName::kEndString, PluginSDK::RC_INDEX_PROPERTY_ABSENT, kLineNoEndString,
         "Unspecified endString!"},
    };
    const std::int32_t status = checkRequired(*this, trace, kSourceFile, kRequired);
    if (status == PluginSDK::RC_SUCCESS &&
        seekFromOf(getProperty(PropertyName::kSeekFrom)) == SeekFrom::kInvalid) {
        return PluginSDK::RC_INDEX_UNUSABLE;
    }
    return status;
}

std::int32_t StringCrop::getScalarResult(PluginSDK::String& result) {
    Trace trace(operandTracer(), "StringCrop::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }

    const ::String input(getProperty(PropertyName::kInputString));
    const ::String startMarker(getProperty(PropertyName::kStartString));
    const ::String endMarker(getProperty(PropertyName::kEndString));
    const SeekFrom mode = seekFromOf(getProperty(PropertyName::kSeekFrom));
    const int length = input.length();
    if (length == 0) {
        return PluginSDK::RC_SUCCESS;
    }

    // The piece is [begin, end); a marker that is not found stands for the start or the end of
    // the text.
    int begin = 0;
    int end = length;
    if (mode == SeekFrom::kRight) {
        if (endMarker.length() != 0) {
            const int found = input.lastIndexOf(endMarker, -1);
            end = found < 0 ? length : found;
        }
        if (startMarker.length() != 0) {
            // The start marker must end at or before `end`, so it begins at or before `latest`.
            const int latest = end - startMarker.length();
            const int found = latest < 0 ? -1 : input.lastIndexOf(startMarker, latest);
            begin = found < 0 ? 0 : found + startMarker.length();
        }
    } else {
        begin = afterFirst(input, startMarker);
        if (endMarker.length() != 0) {
            int found = -1;
            if (mode == SeekFrom::kLeft) {
                found = begin < length ? input.indexOf(endMarker, begin) : -1;
            } else {
                found = input.lastIndexOf(endMarker, -1);
            }
            end = found < 0 ? length : found;
        }
    }

    if (begin >= end || begin == length) {
        return PluginSDK::RC_SUCCESS;
    }
    result = input.substring(begin, end - 1).m_Text;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
