#include "PluginSDK/String.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/StringVector.h"
#include "PluginSDK/VectorString.h"
#include "platform/TestSupport.h"

namespace {

using PluginSDK::String;
using PluginSDK::StringVector;
using PluginSDK::VectorString;
using Texts = std::vector<std::wstring>;

Texts elements(const StringVector& vector) {
    Texts elements;
    for (int i = 0; i < vector.m_Count; ++i) {
        elements.emplace_back(vector[i]);
    }
    return elements;
}

Texts parse(const wchar_t* text) {
    StringVector vector;
    VectorString::toVector(text, vector);
    return elements(vector);
}

// Texts listed in code-point order: equal, prefixes of one another, and U+E000 before U+1F600,
// which UTF-16 order would put the other way round. Beyond Unicode, code points order as unsigned
// 32-bit numbers; null is the empty text.
TEST(PluginString, RelationsFollowCodePointOrder) {
    const wchar_t* const texts[] = {L"", L"a", L"ab", L"b", L"\uE000", L"\U0001F600"};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        for (std::size_t j = 0; j < std::size(texts); ++j) {
            const String l(texts[i]), r(texts[j]);
            EXPECT_EQ(
                (std::vector<bool>{l<r, l <= r, l> r, l >= r, l == r, l != r, l == texts[j],
                                   l != texts[j]}),
                (std::vector<bool>{i<j, i <= j, i> j, i >= j, i == j, i != j, i == j, i != j}))
                << i << " " << j;
        }
    }
    const wchar_t high[] = {static_cast<wchar_t>(0xFFFFFFFF), L'\0'};
    EXPECT_GT(PluginSDK::compareCodePoints(high, L"\U0010FFFF"), 0);
    EXPECT_EQ(PluginSDK::compareCodePoints(nullptr, L""), 0);
    EXPECT_GT(PluginSDK::compareCodePoints(L"a", nullptr), 0);
    EXPECT_TRUE(String() == static_cast<const wchar_t*>(nullptr));
}

// Against the C library: digits with an optional sign and nothing else, in range.
TEST(PluginString, ToLongAcceptsOnlyWhole32BitDecimals) {
    Texts texts = {L"2147483647", L"2147483648", L"-2147483648", L"-2147483649"};
    std::mt19937 random(8);
    for (int round = 0; round < 20000; ++round) {
        texts.push_back(platform_test::randomText(random, L"0123456789+- x", 12));
    }
    for (const std::wstring& text : texts) {
        wchar_t* end = nullptr;
        errno = 0;
        const long long parsed = std::wcstoll(text.c_str(), &end, 10);
        const std::size_t firstDigit = !text.empty() && (text[0] == L'+' || text[0] == L'-');
        const bool expectOk = firstDigit < text.size() && std::iswdigit(text[firstDigit]) &&
                              *end == L'\0' && errno == 0 && parsed >= INT32_MIN &&
                              parsed <= INT32_MAX;
        std::int32_t result = -77;
        ASSERT_EQ(String(text.c_str()).toLong(result, true), expectOk)
            << ::testing::PrintToString(text);
        ASSERT_EQ(result, expectOk ? parsed : -77);
    }
    std::int32_t value = 1;
    EXPECT_FALSE(String(L"-5").toLong(value, false));
    EXPECT_TRUE(String(L"+5").toLong(value, false));
    EXPECT_EQ(value, 5);
}

TEST(PluginString, ConvertsFromUtf8AndUpperCasesAscii) {
    String text;
    text = "caf\xC3\xA9 \xF0\x9F\x98\x80";
    EXPECT_EQ(text, L"caf\u00E9 \U0001F600");
    text = static_cast<const char*>(nullptr);
    EXPECT_EQ(text, L"");

    String upper(L"abz AZ \u00E9\u00FF{}09");
    upper.toUpperCase();
    EXPECT_EQ(upper, L"ABZ AZ \u00E9\u00FF{}09");
}

// Assigning or appending a wide text gives what std::wstring gives, whatever the text's length
// and the storage the earlier texts left, a text that lies inside the string's own storage
// included.
TEST(PluginString, AssigningATextGivesThatText) {
    std::mt19937 random(7);
    String text;
    std::wstring model;
    for (int round = 0; round < 60000; ++round) {
        std::wstring next(random() % 40, L'\0');
        for (wchar_t& c : next) {
            c = platform_test::randomScalar(random);
        }
        if (random() % 3 == 0) {
            const std::size_t offset = random() % (model.size() + 1);
            text = static_cast<const wchar_t*>(text) + offset;
            model.erase(0, offset);
        } else if (random() % 2 == 0) {
            text += next.c_str();
            model += next;
        } else {
            text = next.c_str();
            model = next;
        }
        ASSERT_EQ(std::wstring(text), model);
        ASSERT_EQ(text.length(), static_cast<std::int32_t>(model.size()));
    }
    text += String(L"x");
    text += static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(std::wstring(text), model + L"x");
    text = static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(text, L"");
}

// How lists sort is in cases/vectors.cases.
TEST(StringVector, OutOfRangeIsEmptyAndRemoveAllEmpties) {
    StringVector vector;
    vector.addString(L"a");
    vector.addString(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(elements(vector), (Texts{L"a", L""}));
    EXPECT_EQ(vector[-1], L"");
    EXPECT_EQ(vector[2], L"");
    vector.removeAll();
    EXPECT_EQ(vector.m_Count, 0);
    EXPECT_EQ(vector[0], L"");
}

// That any list read back from its text is the list itself is fuzz/vector_string.cpp's; here what
// the writer never writes. Reading appends to what the vector holds.
TEST(VectorString, TextsOutsideTheFormatAndAppending) {
    VectorString text;
    text += L"x";
    text += nullptr;
    StringVector vector;
    vector.addString(L"before");
    VectorString::toVector(text, vector);
    EXPECT_EQ(elements(vector), (Texts{L"before", L"x", L""}));
    text.reset();
    EXPECT_EQ(std::wstring(text), L"");
    EXPECT_EQ(parse(nullptr), Texts());
    EXPECT_EQ(parse(L"\\\\;\\"), (Texts{L"\\", L"\\"}));  // a '\' at the very end stands for itself
    EXPECT_EQ(parse(L"\\x"), Texts{L"x"});  // and before any other character escapes it
}

}  // namespace
