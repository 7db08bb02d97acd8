#include "common/Converter.h"

#include <charconv>
#include <cstddef>
#include <cwchar>
#include <memory>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/NumberText.h"

namespace CorePlugin {

namespace {

PluginSDK::String adopt(wchar_t* text) {
    // Released also when the copy cannot be made.
    const std::unique_ptr<wchar_t, void (*)(void*)> owned(text, &zovm_free);
    return PluginSDK::String(text);
}

/// The signed decimal text of `value` in `text`, terminated.
void formatDecimal(std::int32_t value, wchar_t (&text)[12]) {
    char digits[12];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    std::size_t length = 0;
    for (const char* digit = digits; digit != written.ptr; ++digit) {
        text[length++] = static_cast<wchar_t>(*digit);
    }
    text[length] = L'\0';
}

}  // namespace

PluginSDK::String Converter::toString(bool value) {
    return PluginSDK::String(value ? TruthWord::kTrue : TruthWord::kFalse);
}

PluginSDK::String Converter::toString(std::int32_t value) {
    // The digits go through a buffer of our own: one allocation, for the result, instead of two.
    wchar_t text[12];
    formatDecimal(value, text);
    return PluginSDK::String(text);
}

PluginSDK::String Converter::toString(std::uint32_t value) {
    return toString(static_cast<std::int32_t>(value));
}

PluginSDK::String Converter::toString(Version value) {
    return adopt(value.get());
}

void Converter::assign(std::uint32_t value, PluginSDK::String& text) {
    wchar_t digits[12];
    formatDecimal(static_cast<std::int32_t>(value), digits);
    text = static_cast<const wchar_t*>(digits);
}

std::int32_t Converter::toUnsignedLong(const PluginSDK::String& text, std::uint32_t& value) {
    const UnsignedReading reading = readUnsigned32(text, 10);
    if (reading.overflow) {
        value = 0;
        return PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER;
    }
    value = reading.value;
    if (value == 0 && std::wcscmp(text, L"0") != 0) {
        return PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER;
    }
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
