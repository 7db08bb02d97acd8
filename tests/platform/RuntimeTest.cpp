#include "base/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/TestSupport.h"

namespace {

template <typename Char>
std::basic_string<Char> take(Char* text) {
    const std::unique_ptr<Char, decltype(&zovm_free)> owner(text, &zovm_free);
    return text == nullptr ? std::basic_string<Char>(1, Char('!')) : std::basic_string<Char>(text);
}

std::int32_t clampedWcstol(const std::wstring& text) {
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

TEST(Runtime, WcstolAgreesWithTheCLibraryClampedTo32Bits) {
    for (const std::wstring text :
         {L"0", L"abc", L" -12x", L"", L"-", L"+", L"+-1", L"2147483647", L"2147483648",
          L"-2147483648", L"-2147483649", L"\t\n 42", L"0x10", L"007", L"- 5", L"12 34",
          L"99999999999999999999999", L"-99999999999999999999999"}) {
        EXPECT_EQ(i_wcstol(text.c_str()), clampedWcstol(text)) << ::testing::PrintToString(text);
    }
    EXPECT_EQ(i_wcstol(nullptr), 0);

    std::mt19937 random(4);
    for (int round = 0; round < 20000; ++round) {
        const std::wstring text = platform_test::randomText(random, L"0123456789999 \t+-x", 24);
        ASSERT_EQ(i_wcstol(text.c_str()), clampedWcstol(text));
    }
}

TEST(Runtime, WcstokAgreesWithTheCLibrary) {
    std::mt19937 random(5);
    for (int round = 0; round < 5000; ++round) {
        const std::wstring text = platform_test::randomText(random, L"ab,,.. \n", 16);
        std::vector<wchar_t> ours(text.begin(), text.end());
        std::vector<wchar_t> theirs(text.begin(), text.end());
        ours.push_back(L'\0');
        theirs.push_back(L'\0');
        wchar_t* ourSaved = nullptr;
        wchar_t* theirSaved = nullptr;
        for (int call = 0; call < 20; ++call) {
            // The delimiters may change from call to call.
            const std::wstring delimiters = platform_test::randomText(random, L",. \n", 3);
            wchar_t* ourToken =
                i_wcstok(call == 0 ? ours.data() : nullptr, delimiters.c_str(), &ourSaved);
            wchar_t* theirToken =
                std::wcstok(call == 0 ? theirs.data() : nullptr, delimiters.c_str(), &theirSaved);
            ASSERT_EQ(ourToken == nullptr, theirToken == nullptr);
            if (ourToken == nullptr) {
                break;
            }
            ASSERT_EQ(ourToken - ours.data(), theirToken - theirs.data());
            ASSERT_STREQ(ourToken, theirToken);
        }
        ASSERT_EQ(ours, theirs);
    }
}

TEST(Runtime, ConversionsReturnReleasableCopies) {
    for (const std::int32_t value : {0, 1, -1, 42, INT32_MAX, INT32_MIN, -2147483647}) {
        EXPECT_EQ(take(i_ltowcs(value)), std::to_wstring(value));
    }
    std::mt19937 random(6);
    for (int round = 0; round < 1000; ++round) {
        const auto value = static_cast<std::int32_t>(random());
        const std::wstring text = take(i_ltowcs(value));
        ASSERT_EQ(i_wcstol(text.c_str()), value);
    }

    EXPECT_EQ(take(i_wcsdup(L"a\u00E9\U0001F600")), L"a\u00E9\U0001F600");
    EXPECT_EQ(i_wcsdup(nullptr), nullptr);
    EXPECT_EQ(take(i_wcstombs(L"a\u00E9\U0001F600")), "a\xC3\xA9\xF0\x9F\x98\x80");
    const wchar_t unconvertible[] = {L'a', static_cast<wchar_t>(0x110000), L'\0'};
    EXPECT_EQ(i_wcstombs(unconvertible), nullptr);
    EXPECT_EQ(i_wcstombs(nullptr), nullptr);
    zovm_free(nullptr);
}

TEST(Runtime, WsprintfFormatsAndDecodesUtf8) {
    EXPECT_EQ(take(i_wsprintf("%u.%u.%u.%u", 1u, 2u, 0u, 4294967295u)), L"1.2.0.4294967295");
    EXPECT_EQ(take(i_wsprintf("%s|%d", "caf\xC3\xA9", -7)), L"caf\u00E9|-7");
    EXPECT_EQ(take(i_wsprintf("%s", "\xFF")), L"\uFFFD");
    EXPECT_EQ(take(i_wsprintf("%s", "")), L"");
    const std::string longText(10000, 'z');
    EXPECT_EQ(take(i_wsprintf("%s", longText.c_str())), std::wstring(10000, L'z'));
    // A surrogate has no multibyte form in any locale, so the C library's formatting fails.
    EXPECT_EQ(i_wsprintf("%lc", static_cast<wint_t>(0xD800)), nullptr);
}

}  // namespace
