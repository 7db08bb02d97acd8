#pragma once

#include <cstdint>

#include "PluginSDK/String.h"
#include "common/Comparable.h"

namespace CorePlugin {

/// A text taken as it is, ordered by code point.
class String : public Comparable {
public:
    explicit String(const wchar_t* text) : m_Value(text) {}  // null gives the empty text
    String(const String&) = default;
    String& operator=(const String&) = default;
    ~String() override = default;

    /// Stores any text (null as the empty text); never fails.
    std::int32_t set(const wchar_t* text) override;

    bool operator>(const Comparable& other) const override;
    bool operator>=(const Comparable& other) const override;
    bool operator==(const Comparable& other) const override;
    bool operator<=(const Comparable& other) const override;
    bool operator<(const Comparable& other) const override;
    bool operator!=(const Comparable& other) const override;

    const PluginSDK::String& value() const { return m_Value; }

private:
    PluginSDK::String m_Value;
};

}  // namespace CorePlugin
