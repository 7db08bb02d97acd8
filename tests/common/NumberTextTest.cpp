#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/UInteger.h"
#include "common/Version.h"

using CorePlugin::UnsignedReading;

namespace {

constexpr std::uint32_t kMax32 = std::numeric_limits<std::uint32_t>::max();

// What the C library's wcstoul answers for a 32-bit unsigned long. In the ILP32 build that is
// wcstoul itself; a 64-bit unsigned long is brought back to 32 bits from its sign and magnitude.
UnsignedReading cLibraryReading(const std::wstring& text, int base) {
    errno = 0;
    const unsigned long native = std::wcstoul(text.c_str(), nullptr, base);
    const bool rangeError = errno == ERANGE;
    errno = 0;
    if constexpr (sizeof(unsigned long) == 4) {
        return {static_cast<std::uint32_t>(native), rangeError};
    }
    std::size_t position = 0;
    while (position < text.size() && std::iswspace(static_cast<wint_t>(text[position]))) {
        ++position;
    }
    const bool negative = position < text.size() && text[position] == L'-';
    if (rangeError || (negative ? 0ul - native : native) > kMax32) {
        return {kMax32, true};
    }
    return {static_cast<std::uint32_t>(native), false};
}

// wcstoll's reading clamped to 32 bits, as a 32-bit long saturates.
std::int32_t cLibrarySigned(const std::wstring& text) {
    const long long native = std::wcstoll(text.c_str(), nullptr, 10);
    errno = 0;
    return static_cast<std::int32_t>(
        std::clamp<long long>(native, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()));
}

// The 32-bit edges and their neighbours, with signs, blanks, prefixes and trailing text, and
// random texts over the characters that matter.
std::vector<std::wstring> edgeTexts() {
    std::wistringstream numbers(
        L"0 1 2147483647 2147483648 4294967295 4294967296 8589934592 0000000000004294967295 "
        L"99999999999 18446744073709551615 18446744073709551616 7fffffff 80000000 ffffffff "
        L"FFFFFFFF 100000000 ABCDEF 0x0 0X1 0xffffffff 0x100000000 0x");
    std::vector<std::wstring> bases = {L""};
    for (std::wstring number; numbers >> number;) {
        bases.push_back(number);
    }
    std::vector<std::wstring> texts;
    for (const wchar_t* prefix : {L"", L"+", L"-", L" ", L"\t\n", L" -", L"--", L"x"}) {
        for (const std::wstring& number : bases) {
            for (const wchar_t* suffix : {L"", L"abc", L" 7", L".5", L"g"}) {
                texts.push_back(prefix + number + suffix);
            }
        }
    }
    std::mt19937 random(20240601);
    const std::wstring alphabet = L"0123456789abcdefxX+- \t";
    for (int i = 0; i < 3000; ++i) {
        std::wstring text(random() % 14, L'0');
        for (wchar_t& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        texts.push_back(text);
    }
    return texts;
}

// Sets a `T` holding 12345 from `text`: it takes `reading` when `accepted`, else refuses the
// text and keeps its value.
template <class T, class Value>
void expectSet(const std::wstring& text, bool accepted, Value reading) {
    T parsed(12345);
    EXPECT_EQ(parsed.set(text.c_str()),
              accepted ? PluginSDK::RC_SUCCESS : PluginSDK::RC_INVALID_ARGUMENT)
        << std::string(text.begin(), text.end());
    EXPECT_EQ(parsed.value(), accepted ? reading : Value(12345))
        << std::string(text.begin(), text.end());
}

}  // namespace

// readUnsigned32 is seen through the parsers built on it: UInteger and Converter in base 10 and
// Hex in base 16, with the overflow showing as a refusal; Integer reads through i_wcstol.
TEST(NumberTextTest, EveryParserAgreesWithTheCLibrary) {
    for (const std::wstring& text : edgeTexts()) {
        const std::string name(text.begin(), text.end());
        const bool exactZero = text == L"0";
        const UnsignedReading decimal = cLibraryReading(text, 10);
        const UnsignedReading hexadecimal = cLibraryReading(text, 16);
        const std::int32_t signedReading = cLibrarySigned(text);

        // UInteger saturates; every parser takes a reading of zero only from its zero texts, and
        // a Comparable keeps its value when it refuses.
        expectSet<CorePlugin::UInteger>(text, decimal.value != 0 || exactZero, decimal.value);
        expectSet<CorePlugin::Hex>(text,
                                   !hexadecimal.overflow && (hexadecimal.value != 0 ||
                                                             CorePlugin::Hex::isZero(text.c_str())),
                                   hexadecimal.value);
        expectSet<CorePlugin::Integer>(text, signedReading != 0 || exactZero, signedReading);

        // The converter refuses an overflow instead, and leaves 0 behind on every refusal.
        std::uint32_t converted = 777;
        const bool convertible = !decimal.overflow && (decimal.value != 0 || exactZero);
        EXPECT_EQ(CorePlugin::Converter::toUnsignedLong(text.c_str(), converted),
                  convertible ? PluginSDK::RC_SUCCESS : PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER)
            << name;
        EXPECT_EQ(converted, convertible ? decimal.value : 0u) << name;
    }
    EXPECT_EQ(CorePlugin::Integer(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CorePlugin::UInteger(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CorePlugin::Hex(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
}

TEST(NumberTextTest, HexZeroTexts) {
    for (const wchar_t* text : {L"", L"0", L"000", L"0x", L"0x0", L"0x000"}) {
        CorePlugin::Hex hex(99);
        EXPECT_TRUE(CorePlugin::Hex::isZero(text));
        EXPECT_EQ(hex.set(text), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(hex.value(), 0u);
    }
    for (const wchar_t* text : {L"0X0", L"0X", L"x0", L"00x", L"0xx", L"-0", L" 0", L"0 "}) {
        CorePlugin::Hex hex(99);
        EXPECT_FALSE(CorePlugin::Hex::isZero(text));
        EXPECT_EQ(hex.set(text), PluginSDK::RC_INVALID_ARGUMENT);
        EXPECT_EQ(hex.value(), 99u);
    }
    EXPECT_FALSE(CorePlugin::Hex::isZero(nullptr));
}

TEST(NumberTextTest, ConverterWritesTheSigned32BitsThatReadBackToTheSameValue) {
    std::mt19937 random(11);
    for (int i = 0; i < 500; ++i) {
        const std::uint32_t edges[] = {0, 1, 9, 10, 2147483647u, 2147483648u, 4294967295u};
        const std::uint32_t value = i < 7 ? edges[i] : static_cast<std::uint32_t>(random());
        const auto asSigned = static_cast<std::int32_t>(value);
        const std::wstring expected = std::to_wstring(asSigned);
        EXPECT_EQ(CorePlugin::Converter::toString(asSigned), expected.c_str());
        const PluginSDK::String text = CorePlugin::Converter::toString(value);
        EXPECT_EQ(text, expected.c_str());
        // Results handed from one expression to another keep their 32 bits.
        std::uint32_t back = ~value;
        EXPECT_EQ(CorePlugin::Converter::toUnsignedLong(text, back), PluginSDK::RC_SUCCESS)
            << value;
        EXPECT_EQ(back, value);
        CorePlugin::UInteger reread(~value);
        EXPECT_EQ(reread.set(text), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(reread.value(), value);
    }
    EXPECT_EQ(CorePlugin::Converter::toString(CorePlugin::Version(4294967295u, 2147483648u, 0, 7)),
              L"4294967295.2147483648.0.7");
}
