#include "common/CiString.h"

#include <functional>

#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

CiString::CiString(const wchar_t* text) {
    set(text);
}

std::int32_t CiString::set(const wchar_t* text) {
    m_Value = text;
    m_Value.toUpperCase();
    return PluginSDK::RC_SUCCESS;
}

bool CiString::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool CiString::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool CiString::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool CiString::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool CiString::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool CiString::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
