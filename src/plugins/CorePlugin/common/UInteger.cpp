#include "common/UInteger.h"

#include <cwchar>
#include <functional>

#include "PluginSDK/ResultCodes.h"
#include "common/NumberText.h"

namespace CorePlugin {

std::int32_t UInteger::set(const wchar_t* text) {
    if (text == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    // An overflow is not refused: it reads as the saturated value.
    const std::uint32_t number = readUnsigned32(text, 10).value;
    if (number == 0 && std::wcscmp(text, L"0") != 0) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    m_Value = number;
    return PluginSDK::RC_SUCCESS;
}

bool UInteger::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool UInteger::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool UInteger::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool UInteger::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool UInteger::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool UInteger::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
