#pragma once

#include <locale.h>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "PluginSDK/String.h"

namespace PluginSDK {

/// Failure messages show the wide text instead of the object's bytes.
inline void PrintTo(const String& text, std::ostream* out) {
    *out << ::testing::PrintToString(std::wstring(static_cast<const wchar_t*>(text)));
}

}  // namespace PluginSDK

namespace platform_test {

/// Switches the calling thread to the C library's UTF-8 locale, whose converters serve as oracles.
class Utf8Locale {
public:
    Utf8Locale() : m_Locale(newlocale(LC_ALL_MASK, "C.UTF-8", nullptr)) {
        if (m_Locale == nullptr) {
            throw std::runtime_error("the C.UTF-8 locale is not available");
        }
        m_Previous = uselocale(m_Locale);
    }
    ~Utf8Locale() {
        uselocale(m_Previous);
        freelocale(m_Locale);
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    locale_t m_Locale;
    locale_t m_Previous = nullptr;
};

/// A fresh directory removed with its content at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "platform-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        m_Path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_Path; }

private:
    std::filesystem::path m_Path;
};

/// Random wide texts drawn from `alphabet`, of length 0 to `maxLength`.
inline std::wstring randomText(std::mt19937& random, std::wstring_view alphabet, int maxLength) {
    const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::wstring text;
    for (int i = 0; i < length; ++i) {
        text += alphabet[pick(random)];
    }
    return text;
}

/// A random Unicode scalar value, biased towards the edges of the UTF-8 length classes.
inline wchar_t randomScalar(std::mt19937& random) {
    static constexpr std::uint32_t kEdges[] = {0x1,    0x7F,   0x80,    0x7FF,   0x800,
                                               0xD7FF, 0xE000, 0xFFFD,  0xFFFF,  0x10000,
                                               0xE9,   0x20AC, 0x1F600, 0x10FFFF};
    if (random() % 4 == 0) {
        return static_cast<wchar_t>(kEdges[random() % std::size(kEdges)]);
    }
    std::uint32_t value = 0;
    do {
        value = std::uniform_int_distribution<std::uint32_t>(1, 0x10FFFF)(random);
    } while (value >= 0xD800 && value <= 0xDFFF);
    return static_cast<wchar_t>(value);
}

}  // namespace platform_test
