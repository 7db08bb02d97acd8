#include "utils/Wildcard.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "platform/TestSupport.h"

namespace {

using platform_test::widen;

// Exact-size heap copies, so that AddressSanitizer sees any read past a terminator.
template <class C>
std::unique_ptr<C[]> exact(const std::basic_string<C>& text) {
    auto copy = std::make_unique<C[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), (text.size() + 1) * sizeof(C));
    return copy;
}

/// The 8-bit matcher's answer, which the wide one must give too.
bool matches(const std::string& pattern, const std::string& text) {
    const bool bytes = utils::matchWildcard(exact(pattern).get(), exact(text).get());
    EXPECT_EQ(utils::matchWildcard(exact(widen(pattern)).get(), exact(widen(text)).get()), bytes)
        << pattern << " / " << text;
    return bytes;
}

std::string randomText(std::mt19937& random, const std::string& alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
    for (char& c : text) {
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    return text;
}

}  // namespace

TEST(WildcardTest, AgreesWithFnmatchExceptWhereTheRepeatedAnchorShortcutMisses) {
    std::string ascii;  // everything fnmatch does not treat specially with FNM_NOESCAPE
    for (int c = 1; c < 128; ++c) {
        if (c != '[') {
            ascii += static_cast<char>(c);
        }
    }
    std::mt19937 random(20240501);
    int misses = 0;
    for (int i = 0; i < 100000; ++i) {
        // Mostly small alphabets, where fits are common and the shortcut is often tried.
        const bool wide = i % 4 == 0;
        const std::string pattern = randomText(random, wide ? ascii + "**??" : "ab*?", 8);
        const std::string text = randomText(random, wide ? ascii : "ab", 10);
        const bool ours = matches(pattern, text);
        const bool reference = fnmatch(pattern.c_str(), text.c_str(), FNM_NOESCAPE) == 0;
        const bool complete =
            utils::detail::matchWildcard<char, utils::detail::Resume::EveryPosition>(
                exact(pattern).get(), exact(text).get());
        // Ours never matches where the text does not fit; resuming at every position instead
        // finds exactly the reference's fits, so every miss is the shortcut's.
        ASSERT_TRUE(!ours || reference) << pattern << " / " << text;
        ASSERT_EQ(complete, reference) << pattern << " / " << text;
        misses += ours != reference;
    }
    EXPECT_GT(misses, 0);
}

// Where the text repeats the character after a "*", the segment restarts there: it still fits
// the first, and misses the fit of the second, as stored rules expect.
TEST(WildcardTest, RepeatedAnchorShortcut) {
    EXPECT_TRUE(matches("*a", "aa"));
    EXPECT_FALSE(matches("*aaa", "aaaaa"));
    // Codes, not characters: "?" is one 8-bit byte of a UTF-8 text, but one wide character.
    EXPECT_FALSE(utils::matchWildcard("?", "\xC3\xA9"));
    EXPECT_TRUE(utils::matchWildcard(L"?", L"\u00e9"));
}

TEST(WildcardTest, IgnoreCaseLowersBothStringsInPlace) {
    std::string pattern = "A?c";
    std::string text = "aBC";
    EXPECT_FALSE(utils::matchWildcard(pattern, text));
    EXPECT_TRUE(utils::matchWildcard(pattern, text, true));
    EXPECT_EQ(pattern + text, "a?cabc");
    std::wstring widePattern = L"A";
    std::wstring wideText = L"a";
    EXPECT_FALSE(utils::matchWildcard(widePattern, wideText));
    EXPECT_TRUE(utils::matchWildcard(widePattern, wideText, true));
}

TEST(WildcardTest, ReplaceAllAndEscapedWildcards) {
    // The 8-bit answers, which the wide functions must give too.
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        std::wstring wide = widen(text);
        utils::replaceAllStrings(text, from, to);
        utils::replaceAllStrings(wide, widen(from), widen(to));
        EXPECT_EQ(wide, widen(text));
        return text;
    };
    EXPECT_EQ(replaced("aaa", "a", "aa"), "aaaaaa");  // inserted text is not searched again
    EXPECT_EQ(replaced("abc", "", ""), "abc");        // an empty search text would never end
    const auto escaped = [](std::string pattern, std::string text) {
        std::wstring widePattern = widen(pattern);
        std::wstring wideText = widen(text);
        const bool bytes = utils::matchWildcardEscapedSupport(pattern, text);
        EXPECT_EQ(utils::matchWildcardEscapedSupport(widePattern, wideText), bytes);
        return bytes;
    };
    EXPECT_TRUE(escaped("a\\*", "a*"));
    EXPECT_FALSE(escaped("a\\*", "ab"));
    EXPECT_TRUE(escaped("?\\?", "a?"));
    EXPECT_TRUE(escaped("\\*", "\x01"));  // code 1 in the text stands for "*"
}
