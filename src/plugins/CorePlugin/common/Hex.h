#pragma once

#include <cstdint>

#include "common/Comparable.h"

namespace CorePlugin {

/// An unsigned 32-bit number read from hexadecimal text.
class Hex : public Comparable {
public:
    explicit Hex(std::uint32_t value) : m_Value(value) {}
    Hex(const Hex&) = default;
    Hex& operator=(const Hex&) = default;
    ~Hex() override = default;

    /// Reads a leading hexadecimal number with an optional sign and "0x" or "0X". A number above
    /// 32 bits, and a reading of zero from a text that isZero() refuses, return -101 and keep
    /// the value.
    std::int32_t set(const wchar_t* text) override;

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    /// Whether every character is "0", except that the second may be a lower-case "x" (the
    /// empty text included); false for null.
    static bool isZero(const wchar_t* text);

    std::uint32_t value() const { return m_Value; }

private:
    std::uint32_t m_Value;
};

}  // namespace CorePlugin
