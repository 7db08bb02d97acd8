#pragma once

#include <cstdint>

#include "common/Comparable.h"

namespace CorePlugin {

/// A truth value read from the exact words "true" and "false"; false orders before true.
class Boolean : public Comparable {
public:
    explicit Boolean(bool value) : m_Value(value) {}
    Boolean(const Boolean&) = default;
    Boolean& operator=(const Boolean&) = default;
    ~Boolean() override = default;

    /// Accepts only the exact words; anything else (or null) returns -101 and keeps the value.
    std::int32_t set(const wchar_t* text) override;

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    bool value() const { return m_Value; }

private:
    bool m_Value;
};

}  // namespace CorePlugin
