#pragma once

// What the fuzz targets share: wide text made from the input, and files in a scratch directory.

#include <algorithm>
#include <array>
#include <fstream>

#include <platform/utf8.h>

#include "platform/TestSupport.h"

namespace fuzz {

/// The input as text: UTF-8, except that the byte 0xFE (never part of UTF-8) takes the next four
/// bytes as one character of any value, so surrogates and values past U+10FFFF come too.
inline std::wstring wideOf(std::string_view bytes) {
    std::wstring text;
    for (std::size_t at; (at = std::min(bytes.find('\xFE'), bytes.size())) + 4 < bytes.size();) {
        platform::appendFromUtf8(bytes.substr(0, at), text);
        const auto* value = reinterpret_cast<const unsigned char*>(bytes.data() + at + 1);
        text += static_cast<wchar_t>(std::uint32_t{value[0]} << 24 | value[1] << 16 |
                                     value[2] << 8 | value[3]);
        bytes.remove_prefix(at + 5);
    }
    platform::appendFromUtf8(bytes, text);
    return text;
}

/// Splits the input at NUL bytes into at most `count` parts; missing parts are empty.
template <std::size_t count>
std::array<std::string_view, count> split(const std::uint8_t* data, std::size_t size) {
    std::array<std::string_view, count> parts{};
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::size_t i = 0;
    for (std::size_t end; i + 1 < count && (end = rest.find('\0')) != std::string_view::npos; ++i) {
        parts[i] = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    parts[i] = rest;
    return parts;
}

/// Ends the run as a finding when a property the target checks does not hold.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

/// A directory of this process's own, removed when it exits.
inline const std::filesystem::path& scratchDirectory() {
    static const platform_test::TempDir directory;
    return directory.path();
}

/// Writes `bytes` to the regular file `name` of the scratch directory and returns its path.
inline std::string writeFile(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = scratchDirectory() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    return path.string();
}

}  // namespace fuzz
