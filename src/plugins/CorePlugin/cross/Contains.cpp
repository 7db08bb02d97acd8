#include "cross/Contains.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/String.h"
#include "cross/OperandTrace.h"

namespace CorePlugin {

namespace {

// Source positions of the messages are fixed: readers of the trace key on them.
constexpr char kSourceFile[] = "./../../../../src/plugins/CorePlugin/cross/Contains.cpp";
constexpr int kLineNoInputString = 111;
constexpr int kLineNoSearchedString = 115;
constexpr int kLineNoPosition = 119;

}  // namespace

Contains::Contains() {
    Trace trace(operandTracer(), "Contains::Contains()");
}

Contains::~Contains() {
    Trace trace(operandTracer(), "Contains::~Contains");
}

std::int32_t Contains::validateProperties() {
    Trace trace(operandTracer(), "Contains::validateProperties()");
    static constexpr RequiredProperty kRequired[] = {
        {PropertyName::kInputString, PluginSDK::RC_TEXT_PROPERTY_ABSENT, kLineNoInputString,
         "Unspecified input string!"},
        {PropertyName::kSearchedString, PluginSDK::RC_TEXT_PROPERTY_ABSENT, kLineNoSearchedString,
         "Unspecified searched string!"},
        {PropertyName::kPosition, PluginSDK::RC_POSITION_ABSENT, kLineNoPosition,
         "Unspecified position!"},
    };
    return checkRequired(*this, trace, kSourceFile, kRequired);
}

std::int32_t Contains::getScalarResult(PluginSDK::String& result) {
    Trace trace(operandTracer(), "Contains::getScalarResult(PluginSDK::String & result)");
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t status = validateProperties();
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }

    const wchar_t* inputText = getProperty(PropertyName::kInputString);
    const wchar_t* searchedText = getProperty(PropertyName::kSearchedString);
    const wchar_t* position = getProperty(PropertyName::kPosition);
    const ::String input(inputText);
    const ::String searched(searchedText);
    bool found = false;
    if (std::wcscmp(position, PropertyValue::kStart) == 0) {
        found = input.startsWith(searched, 0);
    } else if (std::wcscmp(position, PropertyValue::kEnd) == 0) {
        found = input.endsWith(searched);
    } else {
        found = std::wcsstr(inputText, searchedText) != nullptr;
    }
    result = found ? TruthWord::kTrue : TruthWord::kFalse;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
