#include "common/Version.h"

#include <cstddef>
#include <cwchar>
#include <functional>

#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/Assert.h"
#include "common/NumberText.h"

namespace CorePlugin {

namespace {

constexpr wchar_t kSeparators[] = L".,_";
constexpr int kMaximumSeparators = 3;

bool isSeparator(wchar_t c) {
    return c != L'\0' && std::wcschr(kSeparators, c) != nullptr;
}

}  // namespace

std::int32_t Version::set(const wchar_t* text) {
    m_Fields = {0, 0, 0, 0};
    if (!isValid(text)) {
        return PluginSDK::RC_INVALID_VERSION;
    }
    // The fields getField() reads, found in one pass: a valid text holds only digits and
    // separators, so each run of digits is one field, read up to the separator that ends it.
    std::size_t field = 0;
    for (const wchar_t* position = text; *position != L'\0' && field < m_Fields.size();) {
        if (isSeparator(*position)) {
            ++position;
            continue;
        }
        m_Fields[field++] = readUnsigned32(position, 10).value;
        while (*position >= L'0' && *position <= L'9') {
            ++position;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Version::set(std::uint32_t field0, std::uint32_t field1, std::uint32_t field2,
                          std::uint32_t field3) {
    m_Fields = {field0, field1, field2, field3};
    return PluginSDK::RC_SUCCESS;
}

wchar_t* Version::get() const {
    // The format's %lu takes the native unsigned long, whatever its width.
    return i_wsprintf("%lu.%lu.%lu.%lu", static_cast<unsigned long>(m_Fields[0]),
                      static_cast<unsigned long>(m_Fields[1]),
                      static_cast<unsigned long>(m_Fields[2]),
                      static_cast<unsigned long>(m_Fields[3]));
}

bool Version::isValid(const wchar_t* text) {
    if (text == nullptr) {
        return false;
    }
    int separators = 0;
    for (const wchar_t* position = text; *position != L'\0'; ++position) {
        if (isSeparator(*position)) {
            if (++separators > kMaximumSeparators) {
                return false;
            }
        } else if (*position < L'0' || *position > L'9') {
            return false;
        }
    }
    return true;
}

std::uint32_t Version::getField(const wchar_t* version, unsigned short index) {
    COREPLUGIN_ASSERT(version != NULL, "./../../../../src/plugins/CorePlugin/common/Version", 250);
    wchar_t* copy = i_wcsdup(version);
    wchar_t* saved = nullptr;
    std::uint32_t field = 0;
    unsigned short position = 0;
    for (wchar_t* token = i_wcstok(copy, kSeparators, &saved); token != nullptr;
         token = i_wcstok(nullptr, kSeparators, &saved), ++position) {
        if (position == index) {
            // Read as unsigned: a signed reading would cap every field at 2147483647, so that
            // 1.3000000000 would equal 1.2147483648.
            field = readUnsigned32(token, 10).value;
            break;
        }
    }
    zovm_free(copy);
    return field;
}

bool Version::operator>(const Comparable& other) const {
    return relate(*this, other, std::greater<>());
}
bool Version::operator>=(const Comparable& other) const {
    return relate(*this, other, std::greater_equal<>());
}
bool Version::operator==(const Comparable& other) const {
    return relate(*this, other, std::equal_to<>());
}
bool Version::operator<=(const Comparable& other) const {
    return relate(*this, other, std::less_equal<>());
}
bool Version::operator<(const Comparable& other) const {
    return relate(*this, other, std::less<>());
}
bool Version::operator!=(const Comparable& other) const {
    return relate(*this, other, std::not_equal_to<>());
}

}  // namespace CorePlugin
