#include "base/String.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace {

wchar_t* copyText(const wchar_t* text, int count) {
    auto* copy = new wchar_t[static_cast<std::size_t>(count) + 1];
    if (count > 0) {
        std::wmemcpy(copy, text, static_cast<std::size_t>(count));
    }
    copy[count] = L'\0';
    return copy;
}

int lengthOf(const wchar_t* text) {
    return text == nullptr ? 0 : static_cast<int>(std::wcslen(text));
}

std::wstring_view viewOf(const wchar_t* text, int length) {
    return {text, static_cast<std::size_t>(length)};
}

int positionOf(std::size_t found) {
    return found == std::wstring_view::npos ? -1 : static_cast<int>(found);
}

}  // namespace

String::String() : String(nullptr, 0) {}

String::String(const wchar_t* text) : String(text, lengthOf(text)) {}

String::String(const String& other) : String(other.m_Text, other.m_Length) {}

String::String(const wchar_t* text, int count)
    : m_Text(copyText(text, count)), m_Length(count), m_Multibyte(nullptr) {}

String::~String() {
    delete[] m_Text;
    delete[] m_Multibyte;
}

String& String::operator=(const String& other) {
    if (this != &other) {
        wchar_t* text = copyText(other.m_Text, other.m_Length);
        delete[] m_Text;
        delete[] m_Multibyte;
        m_Text = text;
        m_Length = other.m_Length;
        m_Multibyte = nullptr;
    }
    return *this;
}

int String::length() const {
    return m_Length;
}

int String::indexOf(const String& text, int from) const {
    return positionOf(
        viewOf(m_Text, m_Length)
            .find(viewOf(text.m_Text, text.m_Length), static_cast<std::size_t>(std::max(from, 0))));
}

int String::lastIndexOf(const String& text, int from) const {
    if (from < -1) {
        return -1;
    }
    const std::size_t limit = from == -1 ? std::wstring_view::npos : static_cast<std::size_t>(from);
    return positionOf(viewOf(m_Text, m_Length).rfind(viewOf(text.m_Text, text.m_Length), limit));
}

bool String::startsWith(const String& prefix, int from) const {
    if (from < 0 || from > m_Length || prefix.m_Length > m_Length - from) {
        return false;
    }
    return std::wmemcmp(m_Text + from, prefix.m_Text, static_cast<std::size_t>(prefix.m_Length)) ==
           0;
}

bool String::endsWith(const String& suffix) const {
    return startsWith(suffix, m_Length - suffix.m_Length);
}

String String::substring(int begin) const {
    return substring(begin, m_Length - 1);
}

String String::substring(int begin, int end) const {
    begin = std::max(begin, 0);
    end = std::min(end, m_Length - 1);
    if (begin > end) {
        return String();
    }
    return String(m_Text + begin, end - begin + 1);
}

String::operator const char*() const {
    if (m_Multibyte == nullptr) {
        std::string converted;
        if (!platform::toUtf8(viewOf(m_Text, m_Length), converted)) {
            return nullptr;
        }
        m_Multibyte = new char[converted.size() + 1];
        std::memcpy(m_Multibyte, converted.c_str(), converted.size() + 1);
    }
    return m_Multibyte;
}
