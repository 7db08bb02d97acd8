// readUnsigned32 and the readers built on it against the C library; what each Compare type
// reads is shown in cases/compare.cases.

#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwchar>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/UInteger.h"
#include "platform/TestSupport.h"

using CorePlugin::UnsignedReading;

namespace {

// What the C library's wcstoul answers for a 32-bit unsigned long. In the ILP32 build that is
// wcstoul itself; a 64-bit unsigned long is brought back to 32 bits from its sign and magnitude.
UnsignedReading cLibraryReading(const std::wstring& text, int base) {
    errno = 0;
    const unsigned long native = std::wcstoul(text.c_str(), nullptr, base);
    const bool rangeError = std::exchange(errno, 0) == ERANGE;
    const std::size_t sign = text.find_first_not_of(L" \t\n\v\f\r");
    const bool negative = sign != std::wstring::npos && text[sign] == L'-';
    const std::uint64_t magnitude = negative ? 0ul - native : native;
    const bool overflow = rangeError || magnitude > 0xFFFFFFFFu;
    return {overflow ? 0xFFFFFFFFu : static_cast<std::uint32_t>(native), overflow};
}

// wcstoll's reading clamped to 32 bits, as a 32-bit long saturates.
std::int32_t cLibrarySigned(const std::wstring& text) {
    return static_cast<std::int32_t>(
        std::clamp<long long>(std::wcstoll(text.c_str(), nullptr, 10), INT32_MIN, INT32_MAX));
}

// The 32-bit edges and their neighbours, with signs, blanks, prefixes and trailing text, and
// random texts over the characters that matter.
std::vector<std::wstring> edgeTexts() {
    std::vector<std::wstring> texts;
    std::wistringstream numbers(
        L"0 1 2147483647 2147483648 4294967295 4294967296 8589934592 0000000000004294967295 "
        L"99999999999 18446744073709551615 18446744073709551616 7fffffff 80000000 ffffffff "
        L"FFFFFFFF 100000000 ABCDEF 0x0 0X1 0xffffffff 0x100000000 0x");
    for (std::wstring number; numbers >> number;) {
        for (const wchar_t* prefix : {L"", L"+", L"-", L" ", L"\t\n\v\f\r", L" -", L"--", L"x"}) {
            for (const wchar_t* suffix : {L"", L"abc", L" 7", L".5", L"g"}) {
                texts.push_back(prefix + number + suffix);
            }
        }
    }
    std::mt19937 random(20240601);
    for (int i = 0; i < 3000; ++i) {
        texts.push_back(platform_test::randomText(random, L"0123456789abcdefxX+- \t\v\f\r", 13));
    }
    return texts;
}

// Sets a `T` holding 12345 from `text`: it takes `reading` when `accepted`, else refuses the
// text and keeps its value.
template <class T, class Value>
void expectSet(const std::wstring& text, bool accepted, Value reading) {
    T parsed(12345);
    EXPECT_EQ(parsed.set(text.c_str()), accepted ? 0 : PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(parsed.value(), accepted ? reading : Value(12345));
}

}  // namespace

// readUnsigned32 is seen through the parsers built on it: UInteger and Converter in base 10 and
// Hex in base 16, with the overflow showing as a refusal; Integer reads through i_wcstol.
TEST(NumberTextTest, EveryParserAgreesWithTheCLibrary) {
    for (const std::wstring& text : edgeTexts()) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const bool zero = text == L"0";
        const UnsignedReading decimal = cLibraryReading(text, 10);
        const UnsignedReading hex = cLibraryReading(text, 16);
        const std::int32_t signedReading = cLibrarySigned(text);
        // UInteger saturates; every parser takes a reading of zero only from its zero texts.
        expectSet<CorePlugin::UInteger>(text, decimal.value != 0 || zero, decimal.value);
        expectSet<CorePlugin::Hex>(
            text, !hex.overflow && (hex.value != 0 || CorePlugin::Hex::isZero(text.c_str())),
            hex.value);
        expectSet<CorePlugin::Integer>(text, signedReading != 0 || zero, signedReading);
        // The converter refuses an overflow instead, and leaves 0 behind on every refusal.
        std::uint32_t converted = 777;
        const bool convertible = !decimal.overflow && (decimal.value != 0 || zero);
        EXPECT_EQ(CorePlugin::Converter::toUnsignedLong(text.c_str(), converted),
                  convertible ? 0 : PluginSDK::RC_NOT_AN_UNSIGNED_NUMBER);
        EXPECT_EQ(converted, convertible ? decimal.value : 0u);
    }
    EXPECT_EQ(CorePlugin::Integer(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CorePlugin::UInteger(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(CorePlugin::Hex(3).set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_FALSE(CorePlugin::Hex::isZero(nullptr));
}
