#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <random>
#include <set>
#include <string>

#include "platform/TestSupport.h"

namespace {

using platform_test::Utf8Locale;

std::string libcEncode(wchar_t c) {
    char buffer[MB_LEN_MAX];
    std::mbstate_t state{};
    const std::size_t length = std::wcrtomb(buffer, c, &state);
    return length == static_cast<std::size_t>(-1) ? std::string() : std::string(buffer, length);
}

/// A decoder built from the C library's encoder and the rule that an invalid sequence yields one
/// U+FFFD for the longest run of bytes that begins some valid encoding.
class ReferenceDecoder {
public:
    ReferenceDecoder() {
        // Proper prefixes only depend on a code point's bits above the last 6.
        for (std::uint32_t c = 0x80; c <= 0x10FFFF; c += 0x40) {
            if (c == 0xD800) {
                c = 0xE000;
            }
            const std::string encoded = libcEncode(static_cast<wchar_t>(c));
            for (std::size_t k = 1; k < encoded.size(); ++k) {
                m_Prefixes.insert(encoded.substr(0, k));
            }
        }
    }

    std::wstring decode(std::string_view bytes) const {
        std::wstring out;
        std::size_t i = 0;
        while (i < bytes.size()) {
            std::size_t used = 0;
            for (std::size_t n = 1; n <= 4 && i + n <= bytes.size() && used == 0; ++n) {
                wchar_t c = 0;
                std::mbstate_t state{};
                const std::string_view piece = bytes.substr(i, n);
                // The C library counts the null character as 0 bytes long.
                const std::size_t length = std::mbrtowc(&c, piece.data(), n, &state);
                if ((length == n || (length == 0 && n == 1)) && platform::isScalarValue(c) &&
                    libcEncode(c) == piece) {
                    out += c;
                    used = n;
                }
            }
            if (used == 0) {
                used = 1;
                for (std::size_t k = 3; k >= 1; --k) {
                    if (i + k <= bytes.size() &&
                        m_Prefixes.count(std::string(bytes.substr(i, k)))) {
                        used = k;
                        break;
                    }
                }
                out += platform::kReplacementCharacter;
            }
            i += used;
        }
        return out;
    }

private:
    std::set<std::string> m_Prefixes;
};

TEST(Utf8, EncodingAgreesWithTheCLibraryAndRoundTrips) {
    Utf8Locale locale;
    std::mt19937 random(1);
    for (int round = 0; round < 2000; ++round) {
        std::wstring text;
        std::string expected;
        for (int i = random() % 6; i > 0; --i) {
            text += platform_test::randomScalar(random);
            expected += libcEncode(text.back());
        }
        std::string encoded = "stale";
        ASSERT_TRUE(platform::toUtf8(text, encoded));
        EXPECT_EQ(encoded, expected);
        EXPECT_EQ(platform::fromUtf8(encoded), text);
    }
}

TEST(Utf8, CharactersWithoutAUtf8FormFailTheConversion) {
    for (const wchar_t bad : {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0xDFFF),
                              static_cast<wchar_t>(0x110000), static_cast<wchar_t>(-1),
                              static_cast<wchar_t>(INT_MIN)}) {
        const std::wstring text = std::wstring(L"a") + bad + L"b";
        std::string encoded = "stale";
        EXPECT_FALSE(platform::toUtf8(text, encoded)) << static_cast<long>(bad);
        EXPECT_TRUE(encoded.empty());
        std::string lossy = ">";
        platform::appendUtf8Lossy(text, lossy);
        EXPECT_EQ(lossy,
                  ">a\xEF\xBF\xBD"
                  "b");
    }
}

TEST(Utf8, InvalidSequencesDecodeToOneReplacementEach) {
    const struct {
        const char* bytes;
        const wchar_t* expected;
    } cases[] = {
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         L"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong '/'
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // a surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\xF0\x9F\x98", L"\uFFFD"},                        // truncated at the end
        {"\xE2\x82x", L"\uFFFDx"},                          // truncated before an ASCII byte
        {"\xFF\xFE", L"\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::fromUtf8(c.bytes), c.expected) << c.bytes;
    }
}

TEST(Utf8, DecodingMatchesTheReferenceOnRandomBytes) {
    Utf8Locale locale;
    const ReferenceDecoder reference;
    static constexpr unsigned char kInteresting[] = {'a',  0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                                     0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1,
                                                     0xED, 0xEE, 0xF0, 0xF3, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(2);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int i = random() % 12; i > 0; --i) {
            bytes += static_cast<char>(random() % 2 ? kInteresting[random() % sizeof kInteresting]
                                                    : random() % 256);
        }
        const std::wstring decoded = platform::fromUtf8(bytes);
        ASSERT_EQ(decoded, reference.decode(bytes)) << ::testing::PrintToString(bytes);
    }
}

}  // namespace
