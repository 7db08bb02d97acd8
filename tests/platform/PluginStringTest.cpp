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
#include "PluginSDK/VectorString.h"
#include "base/runtime.h"
#include "platform/TestSupport.h"
#include "platform/utf8.h"

namespace {

using PluginSDK::String;
using PluginSDK::StringVector;
using PluginSDK::VectorString;
using Texts = std::vector<std::wstring>;

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

// UTF-8 byte order is code-point order, which makes the encoded forms an independent oracle.
std::string utf8(const std::wstring& text) {
    std::string encoded;
    EXPECT_TRUE(platform::toUtf8(text, encoded));
    return encoded;
}

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

TEST(PluginString, RelationsFollowCodePointOrder) {
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        const std::wstring a = randomScalarText(random);
        const std::wstring b = randomScalarText(random);
        const String l(a.c_str());
        const String r(b.c_str());
        const int e = utf8(a).compare(utf8(b));
        const int order = PluginSDK::compareCodePoints(a.c_str(), b.c_str());
        ASSERT_EQ((std::vector<bool>{l<r, l <= r, l> r, l >= r, l == r, l != r, l == b.c_str(),
                                     l != b.c_str(), order<0, order> 0}),
                  (std::vector<bool>{e<0, e <= 0, e> 0, e >= 0, e == 0, e != 0, e == 0, e != 0,
                                     e<0, e> 0}))
            << ::testing::PrintToString(a) << " " << ::testing::PrintToString(b);
    }
    // Values outside Unicode still order as unsigned 32-bit numbers; null is the empty text.
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
    const std::unique_ptr<char, decltype(&zovm_free)> multibyte(
        String::getMultibyteString(L"\u00E9"), &zovm_free);
    EXPECT_STREQ(multibyte.get(), "\xC3\xA9");

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

TEST(StringVector, CountFollowsEveryOperationAndSortIsByCodePoint) {
    StringVector vector;
    Texts model;
    std::mt19937 random(9);
    for (int i = 0; i < 50; ++i) {
        model.push_back(randomScalarText(random));
        vector.addString(String(model.back().c_str()));
    }
    vector.addString(static_cast<const wchar_t*>(nullptr));
    model.emplace_back();
    EXPECT_EQ(vector[-1], L"");
    EXPECT_EQ(vector[51], L"");
    for (const bool descending : {false, true}) {
        StringVector sorted;
        sorted = vector;
        sorted.sort(descending);
        std::sort(model.begin(), model.end(), [&](const auto& a, const auto& b) {
            return descending ? utf8(a) > utf8(b) : utf8(a) < utf8(b);
        });
        EXPECT_EQ(elements(sorted), model);
    }
    vector.removeAll();
    EXPECT_EQ(vector.m_Count, 0);
    EXPECT_EQ(vector[0], L"");
}

// A list read back from its text is the list itself; so whatever any text yields, written out
// again it reads back the same, and only texts outside the format need rows of their own.
TEST(VectorString, AnyListComesBackUnchanged) {
    std::mt19937 random(10);
    for (int round = 0; round < 3000; ++round) {
        Texts list(random() % 6);
        VectorString text;
        for (std::wstring& element : list) {
            element = platform_test::randomText(random, L";;\\\\a \u00E9\U0001F600", 6);
            text += element.c_str();
        }
        ASSERT_EQ(parse(text), list) << ::testing::PrintToString(std::wstring(text));
    }
    VectorString text;
    text += L"x";
    text += nullptr;
    StringVector vector;
    vector.addString(L"before");
    VectorString::toVector(text, vector);  // appends to what the vector holds
    EXPECT_EQ(elements(vector), (Texts{L"before", L"x", L""}));
    text.reset();
    EXPECT_EQ(std::wstring(text), L"");

    EXPECT_EQ(parse(nullptr), Texts());
    EXPECT_EQ(parse(L"\\\\;\\"), (Texts{L"\\", L"\\"}));  // a '\' at the very end stands for itself
    EXPECT_EQ(parse(L"\\x"), Texts{L"x"});  // and before any other character escapes it
}

}  // namespace
