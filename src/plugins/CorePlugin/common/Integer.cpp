#include "common/Integer.h"

#include <cwchar>
#include <functional>

#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"

namespace CorePlugin {

std::int32_t Integer::set(const wchar_t* text) {
    if (text == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    const std::int32_t number = i_wcstol(text);
    // Zero is also what a text without a number reads as, so it must be spelt exactly.
    if (number == 0 && std::wcscmp(text, L"0") != 0) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    m_Value = number;
    return PluginSDK::RC_SUCCESS;
}

bool Integer::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool Integer::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool Integer::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool Integer::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool Integer::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool Integer::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
