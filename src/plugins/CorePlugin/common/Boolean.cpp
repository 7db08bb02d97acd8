#include "common/Boolean.h"

#include <cwchar>
#include <functional>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

std::int32_t Boolean::set(const wchar_t* text) {
    if (text == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (std::wcscmp(text, TruthWord::kTrue) == 0) {
        m_Value = true;
        return PluginSDK::RC_SUCCESS;
    }
    if (std::wcscmp(text, TruthWord::kFalse) == 0) {
        m_Value = false;
        return PluginSDK::RC_SUCCESS;
    }
    return PluginSDK::RC_INVALID_ARGUMENT;
}

bool Boolean::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool Boolean::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool Boolean::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool Boolean::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool Boolean::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool Boolean::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
