#pragma once

#include <cstdint>

#include "PluginSDK/String.h"
#include "common/Version.h"

namespace CorePlugin {

/// Turns truth values, numbers and versions into result text, and decimal text into a number.
class Converter {
public:
    /// "true" or "false".
    static PluginSDK::String toString(bool value);
    /// Signed decimal text.
    static PluginSDK::String toString(std::int32_t value);
    /// The decimal text of the same 32 bits read as signed (4294967295 gives "-1"), which
    /// toUnsignedLong and UInteger read back to the same value.
    static PluginSDK::String toString(std::uint32_t value);
    /// The dotted text of all four fields.
    static PluginSDK::String toString(Version value);

    /// What toString(value) gives, written into `text`, whose storage is reused: a node that
    /// writes its result this way allocates nothing when it is evaluated again.
    static void assign(std::uint32_t value, PluginSDK::String& text);

    /// Reads a leading decimal number ("-" negates modulo 2^32) into `value`: 0, or -11019 with
    /// `value` 0 for a number above 32 bits and for a reading of zero from any text but "0".
    static std::int32_t toUnsignedLong(const PluginSDK::String& text, std::uint32_t& value);
};

}  // namespace CorePlugin
