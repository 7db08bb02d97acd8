#include "common/NumberText.h"

namespace CorePlugin {

namespace {

// The C library's blanks in the C locale; the plug-in reads numbers the same way in any locale.
bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// 36 for anything that is a digit in no base up to 36.
unsigned digitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return static_cast<unsigned>(c - L'0');
    }
    if (c >= L'a' && c <= L'z') {
        return static_cast<unsigned>(c - L'a') + 10;
    }
    if (c >= L'A' && c <= L'Z') {
        return static_cast<unsigned>(c - L'A') + 10;
    }
    return 36;
}

}  // namespace

UnsignedReading readUnsigned32(const wchar_t* text, unsigned base) {
    const wchar_t* position = text;
    while (isBlank(*position)) {
        ++position;
    }
    bool negative = false;
    if (*position == L'+' || *position == L'-') {
        negative = *position == L'-';
        ++position;
    }
    if (base == 16 && position[0] == L'0' && (position[1] == L'x' || position[1] == L'X')) {
        position += 2;
    }
    constexpr std::uint64_t kMaximum = 0xFFFFFFFFu;
    std::uint64_t magnitude = 0;
    UnsignedReading reading;
    for (unsigned digit; (digit = digitValue(*position)) < base; ++position) {
        // Once past 32 bits the magnitude stops growing, so it never overflows its 64 bits.
        if (!reading.overflow) {
            magnitude = magnitude * base + digit;
            reading.overflow = magnitude > kMaximum;
        }
    }
    if (reading.overflow) {
        reading.value = static_cast<std::uint32_t>(kMaximum);
    } else {
        const auto value = static_cast<std::uint32_t>(magnitude);
        reading.value = negative ? 0u - value : value;
    }
    return reading;
}

}  // namespace CorePlugin
