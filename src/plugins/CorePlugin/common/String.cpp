#include "common/String.h"

#include <functional>

#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

std::int32_t String::set(const wchar_t* text) {
    m_Value = text;
    return PluginSDK::RC_SUCCESS;
}

bool String::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool String::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool String::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool String::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool String::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool String::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
