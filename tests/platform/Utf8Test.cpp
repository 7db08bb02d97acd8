#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cwchar>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TestSupport.h"

namespace {

std::string libcEncode(wchar_t c) {
    char buffer[MB_LEN_MAX];
    std::mbstate_t state{};
    const std::size_t length = std::wcrtomb(buffer, c, &state);
    return length == static_cast<std::size_t>(-1) ? std::string() : std::string(buffer, length);
}

std::string hex(std::string_view bytes) {
    std::string text;
    for (const unsigned char byte : bytes) {
        text += "0123456789abcdef"[byte >> 4];
        text += "0123456789abcdef"[byte & 15];
    }
    return text;
}

// Characters just past the edges of the scalar values (the surrogates, U+10FFFF) have no UTF-8
// form: the conversion fails, and the lossy one writes U+FFFD for them.
TEST(Utf8, EncodingAgreesWithTheCLibraryAndRoundTrips) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);  // the C library's converters
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

// Python's decoder is the reference: it too replaces each longest run of bytes that begins
// some valid sequence, and nothing more, with one U+FFFD.
TEST(Utf8, DecodingAgreesWithPythonOnRandomBytes) {
    static constexpr unsigned char kInteresting[] = {'a',  0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                                     0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1,
                                                     0xED, 0xEE, 0xF0, 0xF3, 0xF4, 0xF5, 0xFF};
    std::mt19937 random(2);
    const platform_test::TempDir dir;
    std::vector<std::string> inputs(20000);
    std::ofstream file(dir.path() / "inputs");
    for (std::string& bytes : inputs) {
        for (int i = random() % 12; i > 0; --i) {
            bytes += static_cast<char>(random() % 2 ? kInteresting[random() % sizeof kInteresting]
                                                    : random() % 256);
        }
        file << hex(bytes) << '\n';
    }
    file.close();
    const platform_test::CommandOutput python = platform_test::runCommand(
        "python3 -c \"import sys; [print(bytes.fromhex(line).decode('utf-8', 'replace')"
        ".encode('utf-32-le').hex()) for line in open(sys.argv[1])]\" " +
        (dir.path() / "inputs").string());
    ASSERT_EQ(python.status, 0);
    std::istringstream expected(python.out);
    for (const std::string& bytes : inputs) {
        const std::wstring decoded = platform::fromUtf8(bytes);
        std::string line;
        std::getline(expected, line);
        ASSERT_EQ(hex({reinterpret_cast<const char*>(decoded.data()), 4 * decoded.size()}), line)
            << hex(bytes);
    }
}

}  // namespace
