#pragma once

#include <array>
#include <cstdint>

#include "common/Comparable.h"

namespace CorePlugin {

/// A version of four unsigned 32-bit fields, read from dotted text and ordered field by field
/// from the most significant.
class Version : public Comparable {
public:
    Version(std::uint32_t field0, std::uint32_t field1, std::uint32_t field2, std::uint32_t field3)
        : m_Fields{field0, field1, field2, field3} {}
    Version(const Version&) = default;
    Version& operator=(const Version&) = default;
    ~Version() override = default;

    /// Reads up to four decimal fields separated by ".", "," or "_"; missing fields are 0. A
    /// text that isValid() refuses returns -11008 and leaves 0.0.0.0.
    std::int32_t set(const wchar_t* text) override;
    std::int32_t set(std::uint32_t field0, std::uint32_t field1, std::uint32_t field2,
                     std::uint32_t field3);

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    /// The value as "F0.F1.F2.F3", newly allocated: the caller releases it with zovm_free.
    wchar_t* get() const;

    /// Whether `text` holds only digits and at most three separators (the empty text does).
    static bool isValid(const wchar_t* text);

    /// The field at 0-based position `index` among the non-empty runs between separators, read
    /// as an unsigned 32-bit number (beyond 32 bits it saturates), or 0 when the text has fewer
    /// fields. `version` must not be null.
    static std::uint32_t getField(const wchar_t* version, unsigned short index);

    const std::array<std::uint32_t, 4>& value() const { return m_Fields; }

private:
    std::array<std::uint32_t, 4> m_Fields;
};

}  // namespace CorePlugin
