#include "utils/Wildcard.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Exact-size heap copies, so that AddressSanitizer sees any read past a terminator.
template <class C>
std::unique_ptr<C[]> exact(const std::basic_string<C>& text) {
    auto copy = std::make_unique<C[]>(text.size() + 1);
    std::memcpy(copy.get(), text.c_str(), (text.size() + 1) * sizeof(C));
    return copy;
}

std::string randomText(std::mt19937& random, const std::string& alphabet, int maxLength) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
    for (char& c : text) {
        c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    return text;
}

}  // namespace

TEST(WildcardTest, WorkedExamples) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    // A backslash is an ordinary character to the plain matcher.
    const Case cases[] = {
        {"", "", true},
        {"", "a", false},
        {"*", "", true},
        {"***", "abc", true},
        {"?", "", false},
        {"?", "a", true},
        {"??", "a", false},
        {"*.txt", "notes.txt", true},
        {"*.txt", ".txt", true},
        {"*.txt", "notes.txt.bak", false},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "abc", true},
        {"a*b*c", "acb", false},
        {"*a", "a", true},
        {"*a", "ba", true},
        {"*a", "aa", true},
        {"*a", "ab", false},
        {"*a?", "aaa", true},
        {"*a?b", "aaab", false},
        {"*a?b", "xaab", true},
        {"*aaa", "aaaaa", false},
        {"*aaa", "aaa", true},
        {"*aaa", "baaa", true},
        {"ABC", "abc", false},
        {"*?", "", false},
        {"a\\*", "a\\b", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utils::matchWildcard(exact(std::string(c.pattern)).get(),
                                       exact(std::string(c.text)).get()),
                  c.matches)
            << c.pattern << " / " << c.text;
        std::wstring pattern = widen(c.pattern);
        std::wstring text = widen(c.text);
        EXPECT_EQ(utils::matchWildcard(pattern, text), c.matches) << c.pattern << " / " << c.text;
    }
    // Codes, not characters: "?" is one 8-bit byte of a UTF-8 text, but one wide character.
    EXPECT_FALSE(utils::matchWildcard("?", "\xC3\xA9"));
    EXPECT_TRUE(utils::matchWildcard(L"?", L"\u00e9"));
}

TEST(WildcardTest, AgreesWithFnmatchExceptWhereTheRepeatedAnchorShortcutMisses) {
    std::string ascii;  // everything fnmatch does not treat specially without FNM_PATHNAME
    for (int c = 1; c < 128; ++c) {
        if (c != '[' && c != '\\') {
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
        const auto p = exact(pattern);
        const auto t = exact(text);
        const bool ours = utils::matchWildcard(p.get(), t.get());
        const bool reference = fnmatch(pattern.c_str(), text.c_str(), FNM_NOESCAPE) == 0;
        const bool complete =
            utils::detail::matchWildcard<char, utils::detail::Resume::EveryPosition>(p.get(),
                                                                                     t.get());
        // Ours never matches where the text does not fit; resuming at every position instead
        // finds exactly the reference's fits, so every miss is the shortcut's.
        ASSERT_TRUE(!ours || reference) << pattern << " / " << text;
        ASSERT_EQ(complete, reference) << pattern << " / " << text;
        ASSERT_EQ(utils::matchWildcard(exact(widen(pattern)).get(), exact(widen(text)).get()), ours)
            << pattern << " / " << text;
        misses += ours != reference;
    }
    EXPECT_GT(misses, 0);
}

TEST(WildcardTest, IgnoreCaseLowersBothStringsInPlace) {
    std::string pattern = "ABC";
    std::string text = "abc";
    EXPECT_FALSE(utils::matchWildcard(pattern, text, false));
    EXPECT_TRUE(utils::matchWildcard(pattern, text, true));
    EXPECT_EQ(pattern + text, "abcabc");
    // In the default locale only A to Z change; multibyte bytes and wide codes above 255 never.
    std::string bytes = "AZaz@[\xC3\x89\xFF";
    utils::stringToLower(bytes);
    EXPECT_EQ(bytes, "azaz@[\xC3\x89\xFF");
    std::wstring wide = L"AZ \u00c9 \u0130 \U0001F600";
    utils::stringToLower(wide);
    EXPECT_EQ(wide, L"az \u00c9 \u0130 \U0001F600");
}

TEST(WildcardTest, ReplaceAllAndEscapedWildcards) {
    const char* const replacements[][4] = {
        {"aaa", "a", "aa", "aaaaaa"},  // inserted text is not searched again
        {"aaa", "aa", "b", "ba"},      // left to right, without overlap
        {"a.b.c", ".", "", "abc"},
        {"abc", "", "", "abc"},  // an empty search text would never end
    };
    for (const auto& [input, from, to, expected] : replacements) {
        std::string text = input;
        utils::replaceAllStrings(text, from, to);
        EXPECT_EQ(text, expected) << input << " " << from;
        std::wstring wide = widen(input);
        utils::replaceAllStrings(wide, widen(from), widen(to));
        EXPECT_EQ(wide, widen(expected)) << input << " " << from;
    }
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case escaped[] = {
        {"a\\*", "a*", true},   {"a\\*", "ab", false}, {"a*", "a*", true},
        {"a*", "ab", true},     {"\\?", "?", true},    {"\\?", "x", false},
        {"?\\*?", "a*b", true}, {"\\*", "\x01", true},  // code 1 in the text stands for "*"
    };
    for (const Case& c : escaped) {
        std::string pattern = c.pattern;
        std::string text = c.text;
        EXPECT_EQ(utils::matchWildcardEscapedSupport(pattern, text), c.matches) << c.pattern;
        std::wstring widePattern = widen(c.pattern);
        std::wstring wideText = widen(c.text);
        EXPECT_EQ(utils::matchWildcardEscapedSupport(widePattern, wideText), c.matches)
            << c.pattern;
    }
}
