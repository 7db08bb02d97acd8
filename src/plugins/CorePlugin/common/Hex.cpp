#include "common/Hex.h"

#include <functional>

#include "PluginSDK/ResultCodes.h"
#include "common/NumberText.h"

namespace CorePlugin {

std::int32_t Hex::set(const wchar_t* text) {
    if (text == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    const UnsignedReading reading = readUnsigned32(text, 16);
    if (reading.overflow) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (reading.value == 0 && !isZero(text)) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    m_Value = reading.value;
    return PluginSDK::RC_SUCCESS;
}

bool Hex::isZero(const wchar_t* text) {
    if (text == nullptr) {
        return false;
    }
    for (const wchar_t* position = text; *position != L'\0'; ++position) {
        if (*position != L'0' && !(position - text == 1 && *position == L'x')) {
            return false;
        }
    }
    return true;
}

bool Hex::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool Hex::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool Hex::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool Hex::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool Hex::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool Hex::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
