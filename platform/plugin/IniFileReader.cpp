#include "PluginSDK/IniFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/utf8.h"

namespace PluginSDK {

namespace {

// Larger files are not configuration: reading one through (a sparse file, a device's memory
// image shown as a regular file) would take too long to count as an answer.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{4} << 30;

// A configuration file usually fits in one block. A larger block would cost every lookup more
// to allocate and give back than it saves in reads (from 64 KiB on, freeing it also makes the
// allocator consolidate its free lists).
constexpr std::size_t kBlockSize = 16384;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
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

// Anything but a regular file is turned down before it is opened, since opening a device can
// have effects of its own; the descriptor is opened without blocking and checked again, so a
// FIFO or a device put in the file's place meanwhile cannot hang the caller either. statx gives
// 64-bit sizes and times in the 32-bit build too, where stat64 fails on a time past 2038.
bool isSmallRegularFile(int directory, const char* path, int flags) {
    struct statx status {};
    return ::statx(directory, path, flags | AT_STATX_SYNC_AS_STAT, STATX_TYPE | STATX_SIZE,
                   &status) == 0 &&
           S_ISREG(status.stx_mode) && status.stx_size <= kMaxFileSize;
}

int openRegularFile(const char* path) {
    if (!isSmallRegularFile(AT_FDCWD, path, 0)) {
        return -1;
    }
    const int descriptor = ::open64(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor >= 0 && !isSmallRegularFile(descriptor, "", AT_EMPTY_PATH)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

/// The text a lookup reads, a block at a time: the open file, or the text given to parse().
class TextSource {
public:
    explicit TextSource(int descriptor)
        : m_Descriptor(descriptor), m_Block(std::make_unique_for_overwrite<char[]>(kBlockSize)) {}
    explicit TextSource(std::string_view content) : m_Content(content) {}

    /// The bytes from `offset` on that are at hand: at least one, unless the text ends there.
    std::string_view from(std::uint64_t offset) {
        if (m_Descriptor < 0) {
            return offset < m_Content.size() ? m_Content.substr(offset) : std::string_view();
        }
        if (offset < m_Start || offset >= m_Start + m_Size) {
            fill(offset);
        }
        return std::string_view(m_Block.get() + (offset - m_Start), m_Start + m_Size - offset);
    }

    /// The bytes [offset, offset + size) for a size of at most one block; fewer only where the
    /// text ends.
    std::string_view range(std::uint64_t offset, std::size_t size) {
        if (m_Descriptor < 0) {
            return offset < m_Content.size() ? m_Content.substr(offset, size) : std::string_view();
        }
        if (offset < m_Start || offset + size > m_Start + m_Size) {
            fill(offset);
        }
        return std::string_view(m_Block.get() + (offset - m_Start),
                                std::min<std::uint64_t>(size, m_Start + m_Size - offset));
    }

    char at(std::uint64_t offset) {
        const std::string_view byte = range(offset, 1);
        return byte.empty() ? '\0' : byte.front();
    }

    /// Whether reading the file failed: what was read so far cannot be trusted to be all.
    bool failed() const { return m_Failed; }

private:
    void fill(std::uint64_t offset) {
        m_Start = offset;
        m_Size = 0;
        while (m_Size < kBlockSize && !m_Failed) {
            const ssize_t count =
                ::pread64(m_Descriptor, m_Block.get() + m_Size, kBlockSize - m_Size,
                          static_cast<off64_t>(offset + m_Size));
            if (count > 0) {
                m_Size += static_cast<std::size_t>(count);
            } else if (count == 0) {
                break;
            } else if (errno != EINTR) {
                m_Failed = true;
            }
        }
    }

    int m_Descriptor = -1;
    std::string_view m_Content;
    std::unique_ptr<char[]> m_Block;
    std::uint64_t m_Start = 0;  // the file offset of m_Block's first byte
    std::size_t m_Size = 0;     // how many bytes of m_Block hold the file
    bool m_Failed = false;
};

/// One lookup: the lines read in order until the key turns up in the section. Lines are
/// located by offsets and only the names that could match and the value found are copied, so a
/// line of any length costs no memory.
class Lookup {
public:
    Lookup(TextSource& text, const std::wstring& section, const std::wstring& key)
        : m_Text(text), m_Section(foldCase(section)), m_Key(foldCase(key)) {}

    bool run(std::wstring& value) {
        // No pair has an empty name.
        if (m_Key.empty()) {
            return false;
        }
        std::uint64_t start = m_Text.range(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        // Keys before the first header belong to the section named by the empty text.
        bool inSection = m_Section.empty();
        for (;;) {
            std::uint64_t end = start;
            bool lineFeed = false;
            for (std::string_view bytes = m_Text.from(end); !bytes.empty();
                 bytes = m_Text.from(end)) {
                const void* found = std::memchr(bytes.data(), '\n', bytes.size());
                if (found != nullptr) {
                    end += static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
                    lineFeed = true;
                    break;
                }
                end += bytes.size();
            }
            if (m_Text.failed()) {
                return false;
            }
            if (readLine(start, end, inSection, value)) {
                return !m_Text.failed();
            }
            if (!lineFeed) {
                return false;
            }
            start = end + 1;
        }
    }

private:
    // Follows one line [start, end): a header moves `inSection`, the wanted pair fills `value`.
    bool readLine(std::uint64_t start, std::uint64_t end, bool& inSection, std::wstring& value) {
        const std::uint64_t first = firstNonBlank(start, end);
        if (first == end) {
            return false;
        }
        const char lead = m_Text.at(first);
        if (lead == ';' || lead == '#') {
            return false;
        }
        const std::uint64_t last = lastNonBlank(first, end);
        if (lead == '[') {
            // Only a whole "[name]" line is a header; anything else that starts with '[' is
            // not understood and ignored, and the keys that follow stay where they were.
            if (last > first && m_Text.at(last) == ']') {
                inSection = isName(first + 1, last, m_Section);
            }
            return false;
        }
        if (!inSection) {
            return false;
        }
        const std::uint64_t equals = find('=', first, last + 1);
        if (equals > last || equals == first || !isName(first, equals, m_Key)) {
            return false;
        }
        const std::uint64_t valueStart = firstNonBlank(equals + 1, last + 1);
        value = unquote(decode(valueStart, last + 1));
        return true;
    }

    std::uint64_t firstNonBlank(std::uint64_t begin, std::uint64_t end) {
        while (begin < end) {
            const std::string_view bytes = m_Text.from(begin);
            if (bytes.empty()) {
                return end;
            }
            const std::size_t size = std::min<std::uint64_t>(bytes.size(), end - begin);
            for (std::size_t i = 0; i < size; ++i) {
                if (!isBlank(bytes[i])) {
                    return begin + i;
                }
            }
            begin += size;
        }
        return end;
    }

    // The last byte of [begin, end) that is no blank, or `end` when there is none.
    std::uint64_t lastNonBlank(std::uint64_t begin, std::uint64_t end) {
        std::uint64_t position = end;
        while (position > begin) {
            const std::size_t size = std::min<std::uint64_t>(position - begin, kBlockSize);
            const std::uint64_t chunk = position - size;
            const std::string_view bytes = m_Text.range(chunk, size);
            for (std::size_t i = bytes.size(); i-- > 0;) {
                if (!isBlank(bytes[i])) {
                    return chunk + i;
                }
            }
            position = chunk;
        }
        return end;
    }

    std::uint64_t find(char c, std::uint64_t begin, std::uint64_t end) {
        while (begin < end) {
            const std::string_view bytes = m_Text.from(begin);
            if (bytes.empty()) {
                return end;
            }
            const std::size_t size = std::min<std::uint64_t>(bytes.size(), end - begin);
            const void* found = std::memchr(bytes.data(), c, size);
            if (found != nullptr) {
                return begin +
                       static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
            }
            begin += size;
        }
        return end;
    }

    // Whether the trimmed bytes of [begin, end) name `wanted` (already folded). A character
    // takes one to four bytes (an invalid byte reads as one U+FFFD), so only names of a
    // plausible length are decoded.
    bool isName(std::uint64_t begin, std::uint64_t end, const std::wstring& wanted) {
        begin = firstNonBlank(begin, end);
        if (begin != end) {
            end = lastNonBlank(begin, end) + 1;
        }
        const std::uint64_t length = end - begin;
        if (length < wanted.size() || length > std::uint64_t{4} * wanted.size()) {
            return false;
        }
        return foldCase(decode(begin, end)) == wanted;
    }

    std::wstring decode(std::uint64_t begin, std::uint64_t end) {
        std::string bytes;
        while (begin < end) {
            const std::string_view chunk = m_Text.from(begin);
            if (chunk.empty()) {
                break;
            }
            const std::size_t size = std::min<std::uint64_t>(chunk.size(), end - begin);
            bytes.append(chunk.data(), size);
            begin += size;
        }
        // Every byte that structures a line is ASCII, which no UTF-8 sequence, valid or not,
        // takes in: a part decodes as it would within the whole text.
        return platform::fromUtf8(bytes);
    }

    TextSource& m_Text;
    const std::wstring m_Section;
    const std::wstring m_Key;
};

}  // namespace

IniFileReader::IniFileReader(const wchar_t* path) : m_IsValid(false), m_Descriptor(-1) {
    std::string encodedPath;
    if (path == nullptr || !platform::toUtf8(path, encodedPath)) {
        return;
    }
    m_Descriptor = openRegularFile(encodedPath.c_str());
    m_IsValid = m_Descriptor >= 0;
}

IniFileReader::~IniFileReader() {
    if (m_Descriptor >= 0) {
        ::close(m_Descriptor);
    }
}

bool IniFileReader::getProperty(const std::wstring& section, const std::wstring& key,
                                std::wstring& value) {
    if (!m_IsValid) {
        return false;
    }
    TextSource text = m_Descriptor >= 0 ? TextSource(m_Descriptor) : TextSource(m_Content);
    std::wstring found;
    if (!Lookup(text, section, key).run(found)) {
        return false;
    }
    value = std::move(found);
    return true;
}

bool IniFileReader::parse(const std::string& content) {
    if (m_Descriptor >= 0) {
        ::close(m_Descriptor);
        m_Descriptor = -1;
    }
    m_Content = content;
    m_IsValid = true;
    return true;
}

}  // namespace PluginSDK
