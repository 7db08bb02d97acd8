#pragma once

#include <cstdint>

#include "PluginSDK/String.h"
#include "common/Comparable.h"

namespace CorePlugin {

/// A text ordered without regard to the case of its ASCII letters: it is held in upper case.
class CiString : public Comparable {
public:
    explicit CiString(const wchar_t* text);  // null gives the empty text
    CiString(const CiString&) = default;
    CiString& operator=(const CiString&) = default;
    ~CiString() override = default;

    /// Stores any text (null as the empty text) in upper case; never fails.
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
