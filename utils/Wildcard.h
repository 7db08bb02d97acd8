#pragma once

#include <cstring>
#include <cwchar>
#include <string>
#include <type_traits>

// Whole-text wildcard matching: "*" stands for any run of characters (also none), "?" for exactly
// one character. The pattern is always the first argument and the text the second.

namespace utils {

/// The texts of the escaping variant, one set per character type.
template <class C>
struct WildcardTexts;

template <>
struct WildcardTexts<char> {
    static constexpr const char* WILDCARD_ASTERISK = "*";
    static constexpr const char* WILDCARD_QUESTION_MARK = "?";
    static constexpr const char* WILDCARD_ESCAPED_ASTERISK = "\\*";
    static constexpr const char* WILDCARD_ESCAPED_QUESTION_MARK = "\\?";
    static constexpr const char* WILDCARD_ALL_CHARS = "\x01";
    static constexpr const char* WILDCARD_SINGLE_CHAR = "\x02";
};

template <>
struct WildcardTexts<wchar_t> {
    static constexpr const wchar_t* WILDCARD_ASTERISK = L"*";
    static constexpr const wchar_t* WILDCARD_QUESTION_MARK = L"?";
    static constexpr const wchar_t* WILDCARD_ESCAPED_ASTERISK = L"\\*";
    static constexpr const wchar_t* WILDCARD_ESCAPED_QUESTION_MARK = L"\\?";
    static constexpr const wchar_t* WILDCARD_ALL_CHARS = L"\x01";
    static constexpr const wchar_t* WILDCARD_SINGLE_CHAR = L"\x02";
};

namespace detail {

/// How a failed segment after a "*" resumes.
enum class Resume {
    // When the text character at the failure equals the character after the "*", the segment
    // restarts right there and the positions in between are never tried again. Stored rules rely
    // on the answers this gives, including the fits it misses.
    AtRepeatedAnchor,
    // Every later start of the segment is tried: complete, used only to check the shortcut.
    EveryPosition,
};

/// The first `c` (never the terminator) at or after `text`, or null when the text ends first.
/// The C library's searches scan several characters at a time.
template <class C>
const C* findCharacter(const C* text, C c) {
    if constexpr (std::is_same_v<C, char>) {
        return std::strchr(text, c);
    } else if constexpr (std::is_same_v<C, wchar_t>) {
        return std::wcschr(text, c);
    } else {
        while (*text != c) {
            if (*text == C(0)) {
                return nullptr;
            }
            ++text;
        }
        return text;
    }
}

/// The matcher over zero-terminated texts; allocation-free, constant extra space.
template <class C, Resume kResume = Resume::AtRepeatedAnchor>
bool matchWildcard(const C* pattern, const C* text) {
    constexpr C kAsterisk = C('*');
    constexpr C kQuestionMark = C('?');
    const C* p = pattern;
    const C* t = text;
    // The resume point: the pattern position after the latest run of asterisks, and the text
    // position where that anchor was last placed. Null until the first asterisk.
    const C* anchor = nullptr;
    const C* restart = nullptr;
    for (;;) {
        C c = *p;
        if (c == kAsterisk) {
            while (*p == kAsterisk) {
                ++p;
            }
            c = *p;
            if (c == C(0)) {
                return true;
            }
            if (*t == C(0)) {
                return false;
            }
            if (c != kQuestionMark) {
                t = findCharacter(t, c);
                if (t == nullptr) {
                    return false;
                }
            }
            anchor = p;
            restart = t;
        } else if (c == C(0) && *t == C(0)) {
            return true;
        } else if (*t == C(0) || (*t != c && c != kQuestionMark)) {
            if (anchor == nullptr) {
                return false;
            }
            if (p != anchor) {
                p = anchor;
                // restart lies before t here, so neither cursor can pass the terminator.
                if (kResume == Resume::AtRepeatedAnchor && *t == *anchor) {
                    p = anchor + 1;
                    ++t;
                } else {
                    ++restart;
                    t = restart;
                }
                continue;
            }
            // At the anchor only its own character can start the segment: go straight to its
            // next occurrence (the resume point stays where it is), or fail at the end. A "?"
            // anchor fails here only at the end of the text.
            if (c == kQuestionMark || (t = findCharacter(t, c)) == nullptr) {
                return false;
            }
        }
        ++p;
        ++t;
        if (*t == C(0)) {
            while (*p == kAsterisk) {
                ++p;
            }
            return *p == C(0);
        }
    }
}

}  // namespace detail

bool matchWildcard(const char* pattern, const char* text);
bool matchWildcard(const wchar_t* pattern, const wchar_t* text);

bool matchWildcard(std::string& pattern, std::string& text);
bool matchWildcard(std::wstring& pattern, std::wstring& text);

/// With `ignoreCase`, both strings are lowered in place (stringToLower) before matching.
bool matchWildcard(std::string& pattern, std::string& text, bool ignoreCase);
bool matchWildcard(std::wstring& pattern, std::wstring& text, bool ignoreCase);

/// "\*" and "\?" in the pattern match only a literal asterisk and question mark; both strings are
/// rewritten in place, and a text holding the characters 1 or 2 matches them there.
bool matchWildcardEscapedSupport(std::string& pattern, std::string& text);
bool matchWildcardEscapedSupport(std::wstring& pattern, std::wstring& text);

/// Lowers in place with the C library's tolower under the current locale: for 8-bit strings only
/// the bytes 0x00 to 0x7F, for wide strings only the codes 0 to 255.
void stringToLower(std::string& text);
void stringToLower(std::wstring& text);

/// Replaces every occurrence of `from`, left to right and without rescanning inserted text. An
/// empty `from` leaves the string as it is.
void replaceAllStrings(std::string& text, const std::string& from, const std::string& to);
void replaceAllStrings(std::wstring& text, const std::wstring& from, const std::wstring& to);

}  // namespace utils
