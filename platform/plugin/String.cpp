#include "PluginSDK/String.h"

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <limits>

#include "base/runtime.h"
#include "platform/utf8.h"

namespace PluginSDK {

namespace {

// The longest text that operator=(const wchar_t*) copies itself.
constexpr std::size_t kShortText = 16;

}  // namespace

String::String(const wchar_t* text) {
    if (text != nullptr) {
        m_Text = text;
    }
}

String& String::operator=(const wchar_t* text) {
    if (text == nullptr) {
        m_Text.clear();
        return *this;
    }
    // Most texts assigned to a result are short (truth words, numbers) and go into storage kept
    // from the previous evaluation: those are copied a character at a time, which costs less than
    // the library's call to measure the text and its call to copy it. A text that lies inside
    // this one's storage, or does not fit it, is left to assign(), which handles both.
    const wchar_t* const storage = m_Text.data();
    const std::less<const wchar_t*> before;
    if (before(text, storage) || before(storage + m_Text.size(), text)) {
        std::size_t length = 0;
        while (length < kShortText && text[length] != L'\0') {
            ++length;
        }
        if (text[length] == L'\0' && length <= m_Text.capacity()) {
            m_Text.clear();
            for (std::size_t i = 0; i < length; ++i) {
                m_Text.push_back(text[i]);
            }
            return *this;
        }
    }
    m_Text = text;
    return *this;
}

String& String::operator=(const char* text) {
    if (text == nullptr) {
        m_Text.clear();
    } else {
        m_Text = platform::fromUtf8(text);
    }
    return *this;
}

String& String::operator+=(const String& other) {
    m_Text += other.m_Text;
    return *this;
}

String& String::operator+=(const wchar_t* text) {
    if (text != nullptr) {
        m_Text += text;
    }
    return *this;
}

bool String::operator==(const wchar_t* text) const {
    return text == nullptr ? m_Text.empty() : m_Text == text;
}

bool String::operator!=(const wchar_t* text) const {
    return !(*this == text);
}

bool String::operator==(const String& other) const {
    return m_Text == other.m_Text;
}

bool String::operator!=(const String& other) const {
    return m_Text != other.m_Text;
}

bool String::operator<(const String& other) const {
    return compareCodePoints(m_Text.c_str(), other.m_Text.c_str()) < 0;
}

bool String::operator<=(const String& other) const {
    return compareCodePoints(m_Text.c_str(), other.m_Text.c_str()) <= 0;
}

bool String::operator>(const String& other) const {
    return compareCodePoints(m_Text.c_str(), other.m_Text.c_str()) > 0;
}

bool String::operator>=(const String& other) const {
    return compareCodePoints(m_Text.c_str(), other.m_Text.c_str()) >= 0;
}

std::int32_t String::length() const {
    return static_cast<std::int32_t>(m_Text.size());
}

bool String::toLong(std::int32_t& value, bool isSigned) const {
    std::size_t position = 0;
    bool negative = false;
    if (position < m_Text.size() && (m_Text[position] == L'+' || m_Text[position] == L'-')) {
        negative = m_Text[position] == L'-';
        ++position;
    }
    if (position == m_Text.size() || (negative && !isSigned)) {
        return false;
    }
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (; position < m_Text.size(); ++position) {
        const wchar_t c = m_Text[position];
        if (c < L'0' || c > L'9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

void String::toUpperCase() {
    for (wchar_t& c : m_Text) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
}

char* String::getMultibyteString(const wchar_t* text) {
    return i_wcstombs(text);
}

int compareCodePoints(const wchar_t* left, const wchar_t* right) {
    if (left == nullptr) {
        left = L"";
    }
    if (right == nullptr) {
        right = L"";
    }
    for (;; ++left, ++right) {
        const auto a = static_cast<std::uint32_t>(*left);
        const auto b = static_cast<std::uint32_t>(*right);
        if (a != b) {
            return a < b ? -1 : 1;
        }
        if (a == 0) {
            return 0;
        }
    }
}

}  // namespace PluginSDK
