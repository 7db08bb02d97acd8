#include "utils/Wildcard.h"

#include <cctype>

namespace utils {

namespace {

template <class S>
bool matchStrings(S& pattern, S& text, bool ignoreCase) {
    if (ignoreCase) {
        stringToLower(pattern);
        stringToLower(text);
    }
    return detail::matchWildcard(pattern.c_str(), text.c_str());
}

template <class S>
void replaceAll(S& text, const S& from, const S& to) {
    // An empty `from` is found everywhere, and with an empty `to` the search would never move on.
    if (from.empty()) {
        return;
    }
    for (typename S::size_type i = text.find(from); i != S::npos;
         i = text.find(from, i + to.size())) {
        text.replace(i, from.size(), to);
    }
}

template <class C>
bool matchEscaped(std::basic_string<C>& pattern, std::basic_string<C>& text) {
    using Texts = WildcardTexts<C>;
    using S = std::basic_string<C>;
    replaceAll(text, S(Texts::WILDCARD_ASTERISK), S(Texts::WILDCARD_ALL_CHARS));
    replaceAll(text, S(Texts::WILDCARD_QUESTION_MARK), S(Texts::WILDCARD_SINGLE_CHAR));
    replaceAll(pattern, S(Texts::WILDCARD_ESCAPED_ASTERISK), S(Texts::WILDCARD_ALL_CHARS));
    replaceAll(pattern, S(Texts::WILDCARD_ESCAPED_QUESTION_MARK), S(Texts::WILDCARD_SINGLE_CHAR));
    return detail::matchWildcard(pattern.c_str(), text.c_str());
}

}  // namespace

bool matchWildcard(const char* pattern, const char* text) {
    return detail::matchWildcard(pattern, text);
}

bool matchWildcard(const wchar_t* pattern, const wchar_t* text) {
    return detail::matchWildcard(pattern, text);
}

bool matchWildcard(std::string& pattern, std::string& text) {
    return matchStrings(pattern, text, false);
}

bool matchWildcard(std::wstring& pattern, std::wstring& text) {
    return matchStrings(pattern, text, false);
}

bool matchWildcard(std::string& pattern, std::string& text, bool ignoreCase) {
    return matchStrings(pattern, text, ignoreCase);
}

bool matchWildcard(std::wstring& pattern, std::wstring& text, bool ignoreCase) {
    return matchStrings(pattern, text, ignoreCase);
}

bool matchWildcardEscapedSupport(std::string& pattern, std::string& text) {
    return matchEscaped(pattern, text);
}

bool matchWildcardEscapedSupport(std::wstring& pattern, std::wstring& text) {
    return matchEscaped(pattern, text);
}

void stringToLower(std::string& text) {
    // tolower is defined only for unsigned-char values; bytes from 0x80 belong to multibyte
    // sequences and stay as they are.
    for (char& c : text) {
        if (c >= 0) {
            c = static_cast<char>(std::tolower(c));
        }
    }
}

void stringToLower(std::wstring& text) {
    for (wchar_t& c : text) {
        if (c >= 0 && c <= 0xFF) {
            c = static_cast<wchar_t>(std::tolower(static_cast<int>(c)));
        }
    }
}

void replaceAllStrings(std::string& text, const std::string& from, const std::string& to) {
    replaceAll(text, from, to);
}

void replaceAllStrings(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    replaceAll(text, from, to);
}

}  // namespace utils
