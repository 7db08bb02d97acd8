#include "PluginSDK/IniFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/utf8.h"

namespace PluginSDK {

namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring_view trim(std::wstring_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::wstring foldCase(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return folded;
}

std::wstring_view unquote(std::wstring_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == L'"' || value.front() == L'\'')) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

// Larger files are not configuration: reading one (a sparse file, a device's memory image shown
// as a regular file) would exhaust memory or never end.
constexpr std::size_t kMaxContent = std::size_t{64} << 20;

// Reads a regular file whole. Anything else is turned down before it is opened, since opening a
// device can have effects of its own; the descriptor is opened without blocking and checked
// again, so a FIFO or a device put in the file's place meanwhile cannot hang the caller either.
bool readRegularFile(const char* path, std::string& content) {
    // The 64-bit status also in the 32-bit build, where a large inode number would otherwise
    // fail the call.
    struct stat64 status {};
    if (::stat64(path, &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        return false;
    }
    bool ok = ::fstat64(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (ok && status.st_size > 0) {
        content.reserve(static_cast<std::size_t>(
            std::min<std::uint64_t>(static_cast<std::uint64_t>(status.st_size), kMaxContent + 1)));
    }
    char buffer[16384];
    while (ok) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count > 0) {
            content.append(buffer, static_cast<std::size_t>(count));
            ok = content.size() <= kMaxContent;
        } else if (count == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
        }
    }
    ::close(descriptor);
    return ok;
}

}  // namespace

IniFileReader::IniFileReader(const wchar_t* path) : m_IsValid(false) {
    std::string encodedPath;
    if (path == nullptr || !platform::toUtf8(path, encodedPath)) {
        return;
    }
    std::string content;
    if (readRegularFile(encodedPath.c_str(), content)) {
        parse(content);
    }
}

IniFileReader::~IniFileReader() = default;

bool IniFileReader::getProperty(const std::wstring& section, const std::wstring& key,
                                std::wstring& value) {
    const auto foundSection = m_Sections.find(foldCase(section));
    if (foundSection == m_Sections.end()) {
        return false;
    }
    const auto foundKey = foundSection->second.find(foldCase(key));
    if (foundKey == foundSection->second.end()) {
        return false;
    }
    value = foundKey->second;
    return true;
}

bool IniFileReader::parse(const std::string& content) {
    std::string_view bytes = content;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const std::wstring text = platform::fromUtf8(bytes);
    m_Sections.clear();
    // Keys before the first header belong to the section named by the empty text.
    auto* section = &m_Sections[std::wstring()];
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring_view line = trim(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L';' || line.front() == L'#') {
            continue;
        }
        if (line.front() == L'[') {
            // Only a whole "[name]" line is a header; anything else that starts with '[' is
            // not understood and ignored, and the keys that follow stay where they were.
            if (line.back() == L']' && line.size() >= 2) {
                section = &m_Sections[foldCase(trim(line.substr(1, line.size() - 2)))];
            }
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            continue;
        }
        const std::wstring_view key = trim(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        section->emplace(foldCase(key), unquote(trim(line.substr(equals + 1))));
    }
    m_IsValid = true;
    return true;
}

}  // namespace PluginSDK
