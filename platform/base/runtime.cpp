#include "base/runtime.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace {

template <typename Char>
Char* allocateText(std::size_t length) {
    return static_cast<Char*>(::operator new((length + 1) * sizeof(Char)));
}

template <typename Char>
Char* copyText(const Char* text, std::size_t length) {
    Char* copy = allocateText<Char>(length);
    std::memcpy(copy, text, length * sizeof(Char));
    copy[length] = Char(0);
    return copy;
}

// The C library's idea of a blank depends on the locale; ours is the ASCII set, always.
bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool isDelimiter(wchar_t c, const wchar_t* delimiters) {
    return delimiters != nullptr && c != L'\0' && std::wcschr(delimiters, c) != nullptr;
}

}  // namespace

wchar_t* i_wcsdup(const wchar_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    return copyText(text, std::wcslen(text));
}

wchar_t* i_ltowcs(std::int32_t value) {
    char digits[16];
    const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<std::size_t>(written.ptr - digits);
    wchar_t* text = allocateText<wchar_t>(length);
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<wchar_t>(digits[i]);
    }
    text[length] = L'\0';
    return text;
}

char* i_wcstombs(const wchar_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    // Measured first, so the copy is the only allocation.
    const std::wstring_view view(text);
    const std::size_t length = platform::utf8Length(view);
    if (length == platform::kNoUtf8Form) {
        return nullptr;
    }
    char* converted = allocateText<char>(length);
    platform::encodeUtf8(view, converted);
    converted[length] = '\0';
    return converted;
}

wchar_t* i_wsprintf(const char* format, ...) {
    if (format == nullptr) {
        return nullptr;
    }
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    if (length < 0) {
        va_end(again);
        return nullptr;
    }
    std::string formatted(static_cast<std::size_t>(length), '\0');
    const int written = std::vsnprintf(formatted.data(), formatted.size() + 1, format, again);
    va_end(again);
    if (written != length) {
        return nullptr;
    }
    const std::wstring wide = platform::fromUtf8(formatted);
    return copyText(wide.c_str(), wide.size());
}

wchar_t* i_wcstok(wchar_t* text, const wchar_t* delimiters, wchar_t** saved) {
    if (saved == nullptr) {
        return nullptr;
    }
    wchar_t* position = text != nullptr ? text : *saved;
    if (position == nullptr) {
        return nullptr;
    }
    while (isDelimiter(*position, delimiters)) {
        ++position;
    }
    if (*position == L'\0') {
        *saved = position;
        return nullptr;
    }
    wchar_t* token = position;
    while (*position != L'\0' && !isDelimiter(*position, delimiters)) {
        ++position;
    }
    if (*position != L'\0') {
        *position++ = L'\0';
    }
    *saved = position;
    return token;
}

std::int32_t i_wcstol(const wchar_t* text) {
    if (text == nullptr) {
        return 0;
    }
    const wchar_t* position = text;
    while (isBlank(*position)) {
        ++position;
    }
    bool negative = false;
    if (*position == L'+' || *position == L'-') {
        negative = *position == L'-';
        ++position;
    }
    // The magnitude stops growing once it is past the 32-bit range, so it cannot overflow.
    constexpr std::int64_t kLimit = -std::int64_t{std::numeric_limits<std::int32_t>::min()};
    std::int64_t magnitude = 0;
    for (; *position >= L'0' && *position <= L'9'; ++position) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (*position - L'0');
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void zovm_free(void* memory) {
    ::operator delete(memory);
}
