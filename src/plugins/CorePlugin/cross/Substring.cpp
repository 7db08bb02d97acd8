#include "cross/Substring.h"

#include <cwchar>
#include <vector>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "cross/OperandTrace.h"

namespace CorePlugin {

namespace {

// Source positions of the messages are fixed: readers of the trace key on them.
constexpr char kSourceFile[] = "./../../../../src/plugins/CorePlugin/cross/Substring.cpp";
constexpr int kLinePropertiesIncorrect = 103;
constexpr int kLineNoInputString = 123;
constexpr int kLineNoSearchedString = 130;

constexpr wchar_t kLineFeed[] = L"\n";

// A zero-filled, writable copy for the tokeniser, which cuts the text it is given.
std::vector<wchar_t> writableCopy(const wchar_t* text) {
    const std::size_t length = std::wcslen(text);
    std::vector<wchar_t> copy(length + 1, L'\0');
    std::wmemcpy(copy.data(), text, length);
    return copy;
}

}  // namespace

Substring::Substring() {
    Trace trace(operandTracer(), "Substring::Substring()");
}

Substring::~Substring() {
    Trace trace(operandTracer(), "Substring::~Substring()");
}

std::int32_t Substring::validateProperties() {
    // This record carries no function name: readers of the trace know it by its messages.
    Trace trace(operandTracer(), static_cast<const wchar_t*>(nullptr));
    if (getProperty(PropertyName::kInputString) == nullptr) {
        traceError(trace, kSourceFile, kLineNoInputString, L"unspecified inputString");
        return PluginSDK::RC_TEXT_PROPERTY_ABSENT;
    }
    if (getProperty(PropertyName::kSearchedString) == nullptr) {
        traceError(trace, kSourceFile, kLineNoSearchedString, L"unspecified searchedString");
        return PluginSDK::RC_TEXT_PROPERTY_ABSENT;
    }
    return PluginSDK::RC_SUCCESS;
}

const wchar_t* Substring::getOptionalProperty(const wchar_t* name,
                                              const wchar_t* defaultText) const {
    const wchar_t* value = getProperty(name);
    return value != nullptr ? value : defaultText;
}

std::int32_t Substring::getVectorResult(PluginSDK::StringVector& result) {
    Trace trace(operandTracer(), "Substring::getVectorResult()");
    const std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        traceError(trace, kSourceFile, kLinePropertiesIncorrect, "Properties are incorrect");
        return status;
    }

    std::vector<wchar_t> input = writableCopy(getProperty(PropertyName::kInputString));
    const std::vector<wchar_t> searched = writableCopy(getProperty(PropertyName::kSearchedString));
    wchar_t* saved = nullptr;
    for (wchar_t* line = i_wcstok(input.data(), kLineFeed, &saved); line != nullptr;
         line = i_wcstok(nullptr, kLineFeed, &saved)) {
        if (std::wcsstr(line, searched.data()) != nullptr) {
            result.addString(line);
        }
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
