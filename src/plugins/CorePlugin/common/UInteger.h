#pragma once

#include <cstdint>

#include "common/Comparable.h"

namespace CorePlugin {

/// An unsigned 32-bit number read from decimal text.
class UInteger : public Comparable {
public:
    explicit UInteger(std::uint32_t value) : m_Value(value) {}
    UInteger(const UInteger&) = default;
    UInteger& operator=(const UInteger&) = default;
    ~UInteger() override = default;

    /// Reads a leading decimal number; "-" negates modulo 2^32 and a number above 32 bits
    /// saturates to 4294967295. A reading of zero is accepted only from the text "0". A rejected
    /// text returns -101 and keeps the value.
    std::int32_t set(const wchar_t* text) override;

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    std::uint32_t value() const { return m_Value; }

private:
    std::uint32_t m_Value;
};

}  // namespace CorePlugin
