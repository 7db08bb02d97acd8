#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <random>
#include <set>
#include <string>

#include "platform/TestSupport.h"

namespace {

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
        // Proper prefixes only depend on a code point's bits above the last 6; surrogates skipped.
        for (std::uint32_t c = 0x80; c <= 0x10FFFF; c += c == 0xD7C0 ? 0x840 : 0x40) {
            const std::string encoded = libcEncode(static_cast<wchar_t>(c));
            for (std::size_t k = 1; k < encoded.size(); ++k) {
                m_Prefixes.insert(encoded.substr(0, k));
            }
        }
    }

    std::wstring decode(std::string_view bytes) const {
        std::wstring out;
        for (std::size_t i = 0, used = 0; i < bytes.size(); i += used) {
            used = 0;
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
                used = 3;
                while (used > 1 && !m_Prefixes.count(std::string(bytes.substr(i, used)))) {
                    --used;
                }
                out += platform::kReplacementCharacter;
            }
        }
        return out;
    }

private:
    std::set<std::string> m_Prefixes;
};

// Characters just past the edges of the scalar values (the surrogates, U+10FFFF) have no UTF-8
// form: the conversion fails, and the lossy one writes U+FFFD for them.
TEST(Utf8, EncodingAgreesWithTheCLibraryAndRoundTrips) {
    platform_test::Utf8Locale locale;
    static constexpr wchar_t kUnencodable[] = {0xD800, 0xDFFF, 0x110000};
    std::mt19937 random(1);
    for (int round = 0; round < 3000; ++round) {
        std::wstring text;
        std::string expected;
        bool encodable = true;
        for (int i = random() % 6; i > 0; --i) {
            const bool bad = random() % 8 == 0;
            text += bad ? kUnencodable[random() % 3] : platform_test::randomScalar(random);
            expected += bad ? "\xEF\xBF\xBD" : libcEncode(text.back());
            encodable = encodable && !bad;
        }
        std::string encoded = "stale";
        ASSERT_EQ(platform::toUtf8(text, encoded), encodable);
        EXPECT_EQ(encoded, encodable ? expected : "");
        EXPECT_EQ(platform::fromUtf8(encoded), encodable ? text : L"");
        std::string lossy = ">";
        platform::appendUtf8Lossy(text, lossy);
        EXPECT_EQ(lossy, ">" + expected);
    }
}

TEST(Utf8, DecodingMatchesTheReferenceOnRandomBytes) {
    platform_test::Utf8Locale locale;
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
        ASSERT_EQ(platform::fromUtf8(bytes), reference.decode(bytes))
            << ::testing::PrintToString(bytes);
    }
}

}  // namespace
