#include "common/Converter.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/NumberText.h"

namespace CorePlugin {

namespace {

PluginSDK::String adopt(wchar_t* text) {
    PluginSDK::String result(text);
    zovm_free(text);
    return result;
}

}  // namespace

PluginSDK::String Converter::toString(bool value) {
    return PluginSDK::String(value ? TruthWord::kTrue : TruthWord::kFalse);
}

PluginSDK::String Converter::toString(std::int32_t value) {
    return adopt(i_ltowcs(value));
}

PluginSDK::String Converter::toString(std::uint32_t value) {
    return adopt(i_ltowcs(static_cast<std::int32_t>(value)));
}

PluginSDK::String Converter::toString(Version value) {
    return adopt(value.get());
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
