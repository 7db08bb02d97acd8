#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform_test {

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

/// What a shell command printed on its standard output, and its exit status (128 when a signal
/// ended it, -1 when it could not be started).
struct CommandOutput {
    int status = -1;
    std::string out;
};

inline CommandOutput runCommand(const std::string& command) {
    CommandOutput run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[65536];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, count);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return run;
}

/// `text` with each byte widened to one character, as the narrow and wide forms of a test case.
inline std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

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
