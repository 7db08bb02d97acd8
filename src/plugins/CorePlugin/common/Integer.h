#pragma once

#include <cstdint>

#include "common/Comparable.h"

namespace CorePlugin {

/// A signed 32-bit number read from decimal text.
class Integer : public Comparable {
public:
    explicit Integer(std::int32_t value) : m_Value(value) {}
    Integer(const Integer&) = default;
    Integer& operator=(const Integer&) = default;
    ~Integer() override = default;

    /// Reads a leading decimal number, saturating at the 32-bit limits. A reading of zero is
    /// accepted only from the text "0". A rejected text returns -101 and keeps the value.
    std::int32_t set(const wchar_t* text) override;

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    std::int32_t value() const { return m_Value; }

private:
    std::int32_t m_Value;
};

}  // namespace CorePlugin
