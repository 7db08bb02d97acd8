#include "platform/utf8.h"

#include <cstdint>

namespace platform {

namespace {

// Writes the UTF-8 form of a character whose form exists and returns the position after it.
char* encode(std::uint32_t c, char* out) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool isScalar(std::uint32_t value) {
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

std::size_t encodedLength(std::uint32_t value) {
    return value < 0x80 ? 1 : value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
}

struct LeadByte {
    int continuations;   // how many continuation bytes follow; -1: not a lead byte
    unsigned char low;   // range of the first continuation byte, which rules out overlong forms,
    unsigned char high;  // surrogates and values above U+10FFFF
};

LeadByte classify(unsigned char byte) {
    if (byte < 0x80) {
        return {0, 0, 0};
    }
    if (byte < 0xC2) {
        return {-1, 0, 0};
    }
    if (byte < 0xE0) {
        return {1, 0x80, 0xBF};
    }
    if (byte == 0xE0) {
        return {2, 0xA0, 0xBF};
    }
    if (byte == 0xED) {
        return {2, 0x80, 0x9F};
    }
    if (byte < 0xF0) {
        return {2, 0x80, 0xBF};
    }
    if (byte == 0xF0) {
        return {3, 0x90, 0xBF};
    }
    if (byte < 0xF4) {
        return {3, 0x80, 0xBF};
    }
    if (byte == 0xF4) {
        return {3, 0x80, 0x8F};
    }
    return {-1, 0, 0};
}

}  // namespace

bool isScalarValue(wchar_t c) {
    return isScalar(static_cast<std::uint32_t>(c));
}

std::size_t utf8Length(std::wstring_view text) {
    std::size_t length = 0;
    for (wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        if (!isScalar(value)) {
            return kNoUtf8Form;
        }
        length += encodedLength(value);
    }
    return length;
}

void encodeUtf8(std::wstring_view text, char* out) {
    for (wchar_t c : text) {
        out = encode(static_cast<std::uint32_t>(c), out);
    }
}

bool toUtf8(std::wstring_view text, std::string& out) {
    out.clear();
    const std::size_t length = utf8Length(text);
    if (length == kNoUtf8Form) {
        return false;
    }
    out.resize(length);
    encodeUtf8(text, out.data());
    return true;
}

void appendUtf8Lossy(std::wstring_view text, std::string& out) {
    std::size_t length = 0;
    for (wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        length += isScalar(value) ? encodedLength(value) : encodedLength(kReplacementCharacter);
    }
    const std::size_t start = out.size();
    out.resize(start + length);
    char* position = out.data() + start;
    for (wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        position = encode(isScalar(value) ? value : kReplacementCharacter, position);
    }
}

std::wstring fromUtf8(std::string_view bytes) {
    std::wstring out;
    appendFromUtf8(bytes, out);
    return out;
}

void appendFromUtf8(std::string_view bytes, std::wstring& out) {
    out.reserve(out.size() + bytes.size());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const LeadByte kind = classify(lead);
        if (kind.continuations == 0) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        if (kind.continuations < 0) {
            out.push_back(kReplacementCharacter);
            ++i;
            continue;
        }
        std::uint32_t value = lead & (0x3F >> kind.continuations);
        std::size_t next = i + 1;
        bool complete = true;
        for (int k = 0; k < kind.continuations; ++k, ++next) {
            if (next >= size) {
                complete = false;
                break;
            }
            const auto byte = static_cast<unsigned char>(bytes[next]);
            const unsigned char low = k == 0 ? kind.low : 0x80;
            const unsigned char high = k == 0 ? kind.high : 0xBF;
            if (byte < low || byte > high) {
                complete = false;
                break;
            }
            value = (value << 6) | (byte & 0x3F);
        }
        // An interrupted sequence yields one replacement for the bytes read so far; the byte
        // that interrupted it starts afresh.
        out.push_back(complete ? static_cast<wchar_t>(value) : kReplacementCharacter);
        i = next;
    }
}

}  // namespace platform
