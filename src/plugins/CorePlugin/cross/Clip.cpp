#include "cross/Clip.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/String.h"
#include "base/runtime.h"
#include "cross/OperandTrace.h"

namespace CorePlugin {

namespace {

// Source positions of the messages are fixed: readers of the trace key on them.
constexpr char kSourceFile[] = "./../../../../src/plugins/CorePlugin/cross/Clip.cpp";
constexpr int kLineNegativeIndex = 68;
constexpr int kLineIndexBeyondText = 72;
constexpr int kLineStartAfterEnd = 76;
constexpr int kLineNoInputString = 111;
constexpr int kLineNoStartIndex = 115;
constexpr int kLineNoEndIndex = 119;

}  // namespace

Clip::Clip() {
    Trace trace(operandTracer(), "Clip::Clip()");
}

Clip::~Clip() {
    Trace trace(operandTracer(), "Clip::~Clip()");
}

std::int32_t Clip::validateProperties() {
    Trace trace(operandTracer(), "Clip::validateProperties()");
    return checkIndexedText(*this, trace, kSourceFile, kLineNoInputString, kLineNoStartIndex,
                            kLineNoEndIndex);
}

std::int32_t Clip::getScalarResult(PluginSDK::String& result) {
    Trace trace(operandTracer(), "Clip::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }

    const ::String input(getProperty(PropertyName::kInputString));
    // The conversion saturates at the 32-bit limits, so a huge index is simply out of range.
    const std::int32_t start = i_wcstol(getProperty(PropertyName::kStartIndex));
    const std::int32_t end = i_wcstol(getProperty(PropertyName::kEndIndex));
    if (start < 0 || end < 0) {
        traceError(trace, kSourceFile, kLineNegativeIndex,
                   "Error: indexes should be >=  than zero");
        return PluginSDK::RC_INDEX_UNUSABLE;
    }
    const std::int32_t last = input.length() - 1;
    if (start > last || end > last) {
        traceError(trace, kSourceFile, kLineIndexBeyondText,
                   "Error: startIndex or endIndex > inputString length");
        return PluginSDK::RC_INDEX_UNUSABLE;
    }
    // An end of 0 means "to the end of the text", so any start is then in order.
    if (end != 0 && start > end) {
        traceError(trace, kSourceFile, kLineStartAfterEnd, "Error: startIndex > endIndex");
        return PluginSDK::RC_INDEX_UNUSABLE;
    }

    const ::String piece = end != 0 ? input.substring(start, end) : input.substring(start);
    result = piece.m_Text;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
