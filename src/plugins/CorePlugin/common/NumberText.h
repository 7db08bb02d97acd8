#pragma once

#include <cstdint>

namespace CorePlugin {

/// What reading an unsigned 32-bit number from the start of a text found.
struct UnsignedReading {
    std::uint32_t value = 0;
    bool overflow = false;  // the digits spell more than 32 bits; `value` is then 0xFFFFFFFF
};

/// Reads `text` as the C library's wcstoul reads a 32-bit unsigned long in `base` (10 or 16),
/// whatever the width of the native long: ASCII blanks, an optional sign ("-" negates modulo
/// 2^32), in base 16 an optional "0x" or "0X", then digits up to the first other character.
/// A text without digits reads as 0. `text` must not be null.
UnsignedReading readUnsigned32(const wchar_t* text, unsigned base);

}  // namespace CorePlugin
