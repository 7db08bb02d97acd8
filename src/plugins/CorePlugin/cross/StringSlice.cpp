#include "cross/StringSlice.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/String.h"
#include "cross/OperandTrace.h"

namespace CorePlugin {

namespace {

// Source positions of the messages are fixed: readers of the trace key on them.
constexpr char kSourceFile[] = "./../../../../src/plugins/CorePlugin/cross/StringSlice.cpp";
constexpr int kLineStartNotANumber = 76;
constexpr int kLineEndNotANumber = 91;
constexpr int kLineNoInputString = 152;
constexpr int kLineNoStartIndex = 156;
constexpr int kLineNoEndIndex = 160;

// A position counted from the end of a text of `length` characters, and never before its start.
// The sum cannot overflow: the position is negative and the length is not.
std::int32_t fromEnd(std::int32_t position, std::int32_t length) {
    if (position < 0) {
        position += length;
    }
    return position < 0 ? 0 : position;
}

// Sets `position` from a non-empty signed decimal text; an empty text keeps the default. False
// when the text is not a number, with `position` unchanged.
bool readPosition(const wchar_t* text, std::int32_t& position) {
    const PluginSDK::String number(text);
    if (number.length() == 0) {
        return true;
    }
    std::int32_t value = 0;
    if (!number.toLong(value, true)) {
        return false;
    }
    position = value;
    return true;
}

}  // namespace

StringSlice::StringSlice() {
    Trace trace(operandTracer(), "StringSlice::StringSlice()");
}

StringSlice::~StringSlice() {
    Trace trace(operandTracer(), "StringSlice::~StringSlice()");
}

std::int32_t StringSlice::validateProperties() {
    Trace trace(operandTracer(), "StringSlice::validateProperties()");
    return checkIndexedText(*this, trace, kSourceFile, kLineNoInputString, kLineNoStartIndex,
                            kLineNoEndIndex);
}

std::int32_t StringSlice::getScalarResult(PluginSDK::String& result) {
    Trace trace(operandTracer(), "StringSlice::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }

    const ::String input(getProperty(PropertyName::kInputString));
    const std::int32_t length = input.length();
    if (length == 0) {
        return status;
    }

    // A text that is not a number is reported, and the default position is used in its place.
    std::int32_t start = 0;
    if (!readPosition(getProperty(PropertyName::kStartIndex), start)) {
        traceError(trace, kSourceFile, kLineStartNotANumber, "Error: startIndex not a number");
        status = PluginSDK::RC_INDEX_UNUSABLE;
    }
    start = fromEnd(start, length);

    std::int32_t end = length;
    if (!readPosition(getProperty(PropertyName::kEndIndex), end)) {
        traceError(trace, kSourceFile, kLineEndNotANumber, "Error: endIndex not a number");
        status = PluginSDK::RC_INDEX_UNUSABLE;
    }
    end = fromEnd(end, length);

    if (start > end || start >= length) {
        return status;
    }
    if (start == end) {
        result = L"";
        return status;
    }
    if (end > length) {
        end = length;
    }
    result = input.substring(start, end - 1).m_Text;
    return status;
}

}  // namespace CorePlugin
