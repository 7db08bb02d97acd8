#include "utils/StringUtils.h"

#include <regex.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace utils {

namespace {

// isspace is undefined outside the unsigned-char range; the 8-bit bytes from 0x80 are parts of
// multibyte sequences, never whitespace on their own.
bool isWhitespace(char c) {
    return c >= 0 && std::isspace(static_cast<unsigned char>(c)) != 0;
}

bool isWhitespace(wchar_t c) {
    return c >= 0 && c <= 0xFF && std::isspace(static_cast<int>(c)) != 0;
}

template <class C>
std::size_t lengthOf(const C* text) {
    std::size_t length = 0;
    while (text[length] != C(0)) {
        ++length;
    }
    return length;
}

template <class C>
const C* firstNonWhitespace(const C* text) {
    while (isWhitespace(*text)) {
        ++text;
    }
    return text;
}

// The length of `text` once its trailing whitespace is left out.
template <class C>
std::size_t trimmedLength(const C* text) {
    std::size_t length = lengthOf(text);
    while (length > 0 && isWhitespace(text[length - 1])) {
        --length;
    }
    return length;
}

template <class C>
void trimLeftBuffer(C* text) {
    if (text == nullptr) {
        return;
    }
    const C* first = firstNonWhitespace(text);
    if (first != text) {
        std::memmove(text, first, (lengthOf(first) + 1) * sizeof(C));
    }
}

template <class C>
void trimRightBuffer(C* text) {
    if (text == nullptr) {
        return;
    }
    for (std::size_t length = lengthOf(text); length > 0 && isWhitespace(text[length - 1]);
         --length) {
        text[length - 1] = C(0);
    }
}

template <class S>
void trimLeftString(S& text, const typename S::value_type* whitespace) {
    text.erase(0, text.find_first_not_of(whitespace));
}

template <class S>
void trimRightString(S& text, const typename S::value_type* whitespace) {
    // The terminator counts as trailing junk too: strings filled from fixed-size buffers often
    // carry it.
    S junk(whitespace);
    junk.push_back(typename S::value_type(0));
    const typename S::size_type last = text.find_last_not_of(junk);
    text.erase(last == S::npos ? 0 : last + 1);
}

}  // namespace

char* trimLeft(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    return strdup(firstNonWhitespace(text));
}

char* trimRight(const char* text) {
    if (text == nullptr) {
        return nullptr;
    }
    return strndup(text, trimmedLength(text));
}

char* trimBoth(const char* text) {
    char* left = trimLeft(text);
    char* both = trimRight(left);
    std::free(left);
    return both;
}

wchar_t* wcsdup2(const wchar_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t size = (std::wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(std::malloc(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}

wchar_t* trimLeft(const wchar_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    return wcsdup2(firstNonWhitespace(text));
}

wchar_t* trimRight(const wchar_t* text) {
    wchar_t* copy = wcsdup2(text);
    trimRightBuffer(copy);
    return copy;
}

wchar_t* trimBoth(const wchar_t* text) {
    wchar_t* left = trimLeft(text);
    wchar_t* both = trimRight(left);
    std::free(left);
    return both;
}

void trimLeftInPlace(std::string& text) {
    trimLeftString(text, kWhitespace);
}

void trimLeftInPlace(std::wstring& text) {
    trimLeftString(text, kWideWhitespace);
}

void trimRightInPlace(std::string& text) {
    trimRightString(text, kWhitespace);
}

void trimRightInPlace(std::wstring& text) {
    trimRightString(text, kWideWhitespace);
}

void trimBothInPlace(std::string& text) {
    trimRightInPlace(text);
    trimLeftInPlace(text);
}

void trimBothInPlace(std::wstring& text) {
    trimRightInPlace(text);
    trimLeftInPlace(text);
}

void trimLeftInPlaceT(char* text) {
    trimLeftBuffer(text);
}

void trimLeftInPlaceT(wchar_t* text) {
    trimLeftBuffer(text);
}

void trimRightInPlaceT(char* text) {
    trimRightBuffer(text);
}

void trimRightInPlaceT(wchar_t* text) {
    trimRightBuffer(text);
}

void trimBothInPlaceT(char* text) {
    trimLeftInPlaceT(text);
    trimRightInPlaceT(text);
}

void trimBothInPlaceT(wchar_t* text) {
    trimLeftInPlaceT(text);
    trimRightInPlaceT(text);
}

std::vector<std::string> split(const std::string& text, std::string delimiters) {
    std::vector<std::string> parts;
    std::string::size_type start = text.find_first_not_of(delimiters);
    while (start != std::string::npos) {
        const std::string::size_type end = text.find_first_of(delimiters, start);
        parts.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = text.find_first_not_of(delimiters, end);
    }
    return parts;
}

std::string formatString(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatStringV(format, arguments);
    va_end(arguments);
    return text;
}

std::string formatStringV(const char* format, va_list arguments) {
    // Each pass consumes its own copy of the arguments.
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length < 0) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    va_list writing;
    va_copy(writing, arguments);
    const int written = std::vsnprintf(text.data(), text.size(), format, writing);
    va_end(writing);
    if (written != length) {
        return std::string();
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string printArgList(int count, char** arguments) {
    std::string text;
    for (int i = 0; i < count && arguments != nullptr; ++i) {
        if (arguments[i] != nullptr) {
            text += arguments[i];
        }
        text += ' ';
    }
    return text;
}

std::wstring printWArgList(int count, wchar_t** arguments) {
    std::wstring text;
    for (int i = 0; i < count && arguments != nullptr; ++i) {
        if (arguments[i] != nullptr) {
            text += arguments[i];
        }
        text += L' ';
    }
    return text;
}

int matchString(const char* pattern, const char* text, std::string& group) {
    constexpr int kMatched = 0;
    constexpr int kNoMatch = 1;
    constexpr int kInvalidPattern = 4;
    group.clear();
    if (pattern == nullptr) {
        return kInvalidPattern;
    }
    if (text == nullptr) {
        return kNoMatch;
    }
    regex_t expression;
    if (regcomp(&expression, pattern, REG_EXTENDED) != 0) {
        return kInvalidPattern;
    }
    regmatch_t matches[2];
    if (regexec(&expression, text, 2, matches, 0) != 0) {
        regfree(&expression);
        return kNoMatch;
    }
    if (matches[1].rm_so >= 0 && matches[1].rm_eo >= matches[1].rm_so) {
        group.assign(text + matches[1].rm_so,
                     static_cast<std::size_t>(matches[1].rm_eo - matches[1].rm_so));
    }
    regfree(&expression);
    return kMatched;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace utils
