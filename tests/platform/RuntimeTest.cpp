#include "base/runtime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/TestSupport.h"

namespace {

// The text a runtime function returned, freed; "!" for null.
template <typename Char>
std::basic_string<Char> take(Char* text) {
    const std::unique_ptr<Char, decltype(&zovm_free)> owner(text, &zovm_free);
    return text == nullptr ? std::basic_string<Char>(1, Char('!')) : std::basic_string<Char>(text);
}

TEST(Runtime, WcstokAgreesWithTheCLibrary) {
    std::mt19937 random(5);
    for (int round = 0; round < 5000; ++round) {
        const std::wstring text = platform_test::randomText(random, L"ab,,.. \n", 16);
        std::vector<wchar_t> ours(text.c_str(), text.c_str() + text.size() + 1);
        std::vector<wchar_t> theirs = ours;
        wchar_t* ourSaved = nullptr;
        wchar_t* theirSaved = nullptr;
        // Calls go on past the end, where every further call answers null.
        for (int call = 0; call < 8; ++call) {
            // The delimiters may change from call to call.
            const std::wstring delimiters = platform_test::randomText(random, L",. \n", 3);
            wchar_t* ourToken =
                i_wcstok(call == 0 ? ours.data() : nullptr, delimiters.c_str(), &ourSaved);
            wchar_t* theirToken =
                std::wcstok(call == 0 ? theirs.data() : nullptr, delimiters.c_str(), &theirSaved);
            ASSERT_EQ(ourToken == nullptr ? -1 : ourToken - ours.data(),
                      theirToken == nullptr ? -1 : theirToken - theirs.data());
        }
        ASSERT_EQ(ours, theirs);
    }
}

TEST(Runtime, ConversionsReturnReleasableCopies) {
    std::mt19937 random(6);
    std::vector<std::int32_t> values = {0, INT32_MIN, INT32_MAX};
    for (int round = 0; round < 1000; ++round) {
        values.push_back(static_cast<std::int32_t>(random()));
    }
    for (const std::int32_t value : values) {
        ASSERT_EQ(take(i_ltowcs(value)), std::to_wstring(value));
    }
    EXPECT_EQ(take(i_wcsdup(L"a\u00E9\U0001F600")), L"a\u00E9\U0001F600");
    EXPECT_EQ(i_wcsdup(nullptr), nullptr);
    EXPECT_EQ(i_wcstol(nullptr), 0);
    EXPECT_EQ(take(i_wcstombs(L"a\u00E9\U0001F600")), "a\xC3\xA9\xF0\x9F\x98\x80");
    const wchar_t unconvertible[] = {L'a', static_cast<wchar_t>(0x110000), L'\0'};
    EXPECT_EQ(i_wcstombs(unconvertible), nullptr);
    EXPECT_EQ(i_wcstombs(nullptr), nullptr);

    EXPECT_EQ(take(i_wsprintf("%u|%s|%d", 4294967295u, "caf\xC3\xA9", -7)),
              L"4294967295|caf\u00E9|-7");
    EXPECT_EQ(take(i_wsprintf("%s", "")), L"");
    // A surrogate has no multibyte form in any locale, so the C library's formatting fails.
    EXPECT_EQ(i_wsprintf("%lc", static_cast<wint_t>(0xD800)), nullptr);
}

}  // namespace
