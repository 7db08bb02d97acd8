#pragma once

// What the fuzz targets share: wide text made from the input, and files in a scratch directory.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <stdlib.h>

#include <platform/utf8.h>

namespace fuzz {

/// The input as text: UTF-8, except that the byte 0xFE (never part of UTF-8) takes the next four
/// bytes as one character of any value, so surrogates and values past U+10FFFF come too.
inline std::wstring wideOf(std::string_view bytes) {
    std::wstring text;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) == 0xFE && i + 4 < bytes.size()) {
            platform::appendFromUtf8(bytes.substr(start, i - start), text);
            std::uint32_t value = 0;
            for (std::size_t byte = 1; byte <= 4; ++byte) {
                value = value << 8 | static_cast<unsigned char>(bytes[i + byte]);
            }
            text += static_cast<wchar_t>(value);
            i += 4;
            start = i + 1;
        }
    }
    platform::appendFromUtf8(bytes.substr(start), text);
    return text;
}

/// Splits the input at NUL bytes into at most `count` parts; missing parts are empty.
template <std::size_t count>
std::array<std::string_view, count> split(const std::uint8_t* data, std::size_t size) {
    std::array<std::string_view, count> parts{};
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < count && !rest.empty(); ++i) {
        const std::size_t end = i + 1 < count ? rest.find('\0') : std::string_view::npos;
        parts[i] = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
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
    static const std::filesystem::path directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        std::atexit([] { std::filesystem::remove_all(scratchDirectory()); });
        return std::filesystem::path(pattern);
    }();
    return directory;
}

/// Writes `bytes` to the regular file `name` of the scratch directory and returns its path.
inline std::string writeFile(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = scratchDirectory() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    return path.string();
}

}  // namespace fuzz
