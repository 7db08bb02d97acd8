#include "PluginSDK/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/StringVector.h"
#include "base/runtime.h"
#include "platform/TestSupport.h"
#include "platform/utf8.h"

namespace {

using PluginSDK::String;

std::wstring randomScalarText(std::mt19937& random) {
    // A few characters, often shared, so that equal texts and common prefixes come up.
    static const wchar_t kCommon[] = {L'a', L'b', 0xE000, 0xFFFF, 0x10000, 0x1F600};
    std::wstring text;
    for (int i = random() % 4; i > 0; --i) {
        text += random() % 3 ? kCommon[random() % std::size(kCommon)]
                             : platform_test::randomScalar(random);
    }
    return text;
}

std::string utf8(const std::wstring& text) {
    std::string encoded;
    EXPECT_TRUE(platform::toUtf8(text, encoded));
    return encoded;
}

TEST(PluginString, RelationsFollowCodePointOrder) {
    // UTF-8 byte order is code-point order, which makes the encoded forms an independent oracle.
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        const std::wstring a = randomScalarText(random);
        const std::wstring b = randomScalarText(random);
        const String left(a.c_str());
        const String right(b.c_str());
        const int expected = utf8(a).compare(utf8(b));
        ASSERT_EQ(left < right, expected < 0);
        ASSERT_EQ(left <= right, expected <= 0);
        ASSERT_EQ(left > right, expected > 0);
        ASSERT_EQ(left >= right, expected >= 0);
        ASSERT_EQ(left == right, expected == 0);
        ASSERT_EQ(left != right, expected != 0);
        ASSERT_EQ(left == b.c_str(), expected == 0);
        const int order = PluginSDK::compareCodePoints(a.c_str(), b.c_str());
        ASSERT_EQ((order > 0) - (order < 0), (expected > 0) - (expected < 0));
    }
    // Values outside Unicode still order as unsigned 32-bit numbers.
    const wchar_t high[] = {static_cast<wchar_t>(0xFFFFFFFF), L'\0'};
    EXPECT_GT(PluginSDK::compareCodePoints(high, L"\U0010FFFF"), 0);
    EXPECT_TRUE(String(high) > String(L"a"));
    EXPECT_EQ(PluginSDK::compareCodePoints(nullptr, L""), 0);
    EXPECT_LT(PluginSDK::compareCodePoints(nullptr, L"a"), 0);
    EXPECT_TRUE(String() == static_cast<const wchar_t*>(nullptr));
}

TEST(PluginString, ToLongAcceptsOnlyWhole32BitDecimals) {
    const std::pair<const wchar_t*, std::int32_t> accepted[] = {
        {L"0", 0},  {L"2147483647", INT32_MAX}, {L"-2147483648", INT32_MIN}, {L"+5", 5}, {L"-0", 0},
        {L"007", 7}};
    for (const auto& [text, expected] : accepted) {
        std::int32_t value = 12345;
        EXPECT_TRUE(String(text).toLong(value, true)) << ::testing::PrintToString(text);
        EXPECT_EQ(value, expected);
    }
    for (const wchar_t* text : {L"2147483648", L"-2147483649", L" 5", L"5 ", L"", L"-", L"+",
                                L"+-5", L"1e3", L"0x10", L"\u0661", L"99999999999999999999"}) {
        std::int32_t value = 12345;
        EXPECT_FALSE(String(text).toLong(value, true)) << ::testing::PrintToString(text);
        EXPECT_EQ(value, 12345);
    }
    std::int32_t value = 1;
    EXPECT_FALSE(String(L"-5").toLong(value, false));
    EXPECT_TRUE(String(L"+5").toLong(value, false));
    EXPECT_EQ(value, 5);

    // Against the C library: digits with an optional sign and nothing else, in range.
    std::mt19937 random(8);
    for (int round = 0; round < 20000; ++round) {
        const std::wstring text = platform_test::randomText(random, L"0123456789+- x", 12);
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
}

TEST(PluginString, ConvertsToAndFromUtf8) {
    String text;
    text = "caf\xC3\xA9 \xF0\x9F\x98\x80";
    EXPECT_EQ(text, L"caf\u00E9 \U0001F600");
    EXPECT_EQ(text.length(), 6);
    text =
        "a\xFF"
        "b";
    EXPECT_EQ(text, L"a\uFFFDb");
    text = static_cast<const char*>(nullptr);
    EXPECT_EQ(text.length(), 0);

    const std::unique_ptr<char, decltype(&zovm_free)> multibyte(
        String::getMultibyteString(L"\u00E9\U0010FFFF"), &zovm_free);
    ASSERT_NE(multibyte, nullptr);
    EXPECT_STREQ(multibyte.get(), "\xC3\xA9\xF4\x8F\xBF\xBF");
    const wchar_t unconvertible[] = {static_cast<wchar_t>(0xD800), L'\0'};
    EXPECT_EQ(String::getMultibyteString(unconvertible), nullptr);
    EXPECT_EQ(String::getMultibyteString(nullptr), nullptr);

    String upper(L"abz AZ \u00E9\u00FF{}09");
    upper.toUpperCase();
    EXPECT_EQ(upper, L"ABZ AZ \u00E9\u00FF{}09");
}

// Assigning a wide text gives what std::wstring gives, whatever the text's length and the storage
// the earlier texts left, a text that lies inside the string's own storage included.
TEST(PluginString, AssigningATextGivesThatText) {
    std::mt19937 random(7);
    const auto randomText = [&random] {
        std::wstring text(random() % 40, L'\0');
        for (wchar_t& c : text) {
            c = platform_test::randomScalar(random);
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::wstring first = randomText();
        const std::wstring second = randomText();
        String text(first.c_str());
        text = second.c_str();
        ASSERT_EQ(std::wstring(text), second);
        if (random() % 3 == 0) {
            const std::size_t offset = random() % (second.size() + 1);
            text = static_cast<const wchar_t*>(text) + offset;
            ASSERT_EQ(std::wstring(text), second.substr(offset)) << "from offset " << offset;
        } else {
            const std::wstring third = randomText();
            text = third.c_str();
            ASSERT_EQ(std::wstring(text), third);
            ASSERT_EQ(text.length(), static_cast<std::int32_t>(third.size()));
        }
    }
    String text(L"kept");
    text = static_cast<const wchar_t*>(nullptr);
    EXPECT_EQ(text.length(), 0);
    EXPECT_EQ(text, L"");
}

TEST(StringVector, CountFollowsEveryOperationAndSortIsByCodePoint) {
    PluginSDK::StringVector vector;
    std::vector<std::wstring> model;
    std::mt19937 random(9);
    for (int i = 0; i < 50; ++i) {
        model.push_back(randomScalarText(random));
        if (i % 2) {
            vector.addString(model.back().c_str());
        } else {
            vector.addString(String(model.back().c_str()));
        }
        ASSERT_EQ(vector.m_Count, i + 1);
    }
    vector.addString(static_cast<const wchar_t*>(nullptr));
    model.emplace_back();
    EXPECT_EQ(vector.m_Count, 51);
    EXPECT_EQ(vector[-1], L"");
    EXPECT_EQ(vector[51], L"");

    for (const bool descending : {false, true}) {
        PluginSDK::StringVector sorted;
        sorted = vector;
        EXPECT_EQ(sorted.m_Count, vector.m_Count);
        sorted.sort(descending);
        std::vector<std::wstring> expected = model;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            return descending ? utf8(a) > utf8(b) : utf8(a) < utf8(b);
        });
        ASSERT_EQ(sorted.m_Count, static_cast<std::int32_t>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(sorted[static_cast<int>(i)], expected[i].c_str());
        }
    }
    vector.removeAll();
    EXPECT_EQ(vector.m_Count, 0);
    EXPECT_EQ(vector[0], L"");
}

}  // namespace
