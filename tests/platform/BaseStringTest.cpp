#include "base/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/TestSupport.h"

namespace {

// The text up to its terminator, as callers read it, provided the length agrees.
std::wstring whole(const String& string) {
    const std::wstring text(string.m_Text);
    return static_cast<int>(text.size()) == string.length() ? text : L"<wrong length>";
}

// Occurrences by their definition: every position where the needle fits and matches.
bool occursAt(const std::wstring& text, const std::wstring& needle, int position) {
    return position >= 0 && static_cast<std::size_t>(position) + needle.size() <= text.size() &&
           text.compare(static_cast<std::size_t>(position), needle.size(), needle) == 0;
}

// The characters from `begin` to `end` that exist.
std::wstring expectedSubstring(const std::wstring& text, int begin, int end) {
    std::wstring piece;
    for (int p = std::max(begin, 0); p <= end && p < static_cast<int>(text.size()); ++p) {
        piece += text[static_cast<std::size_t>(p)];
    }
    return piece;
}

TEST(BaseString, SearchesAndSubstringsFollowTheirDefinitionsAtAnyPosition) {
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        const std::wstring text = platform_test::randomText(random, L"ab", 8);
        const std::wstring needle = platform_test::randomText(random, L"ab", 3);
        const String string(text.c_str());
        const String pattern(needle.c_str());
        const int size = static_cast<int>(text.size());
        ASSERT_EQ(whole(string), text);
        for (int from = -3; from <= size + 3; ++from) {
            SCOPED_TRACE(::testing::PrintToString(text) + " " + ::testing::PrintToString(needle) +
                         " from " + std::to_string(from));
            int first = -1;
            int last = -1;
            for (int p = size; p >= 0; --p) {
                if (occursAt(text, needle, p)) {
                    first = p >= from ? p : first;
                    last = last == -1 && (from == -1 || p <= from) ? p : last;
                }
            }
            ASSERT_EQ(string.indexOf(pattern, from), first);
            ASSERT_EQ(string.lastIndexOf(pattern, from), last);
            ASSERT_EQ(string.startsWith(pattern, from), occursAt(text, needle, from));
            ASSERT_EQ(whole(string.substring(from)), expectedSubstring(text, from, size));
            const int end = from + static_cast<int>(random() % 7) - 3;
            ASSERT_EQ(whole(string.substring(from, end)), expectedSubstring(text, from, end));
        }
        ASSERT_EQ(string.endsWith(pattern),
                  occursAt(text, needle, size - static_cast<int>(needle.size())));
    }
}

TEST(BaseString, MultibyteFormFollowsTheTextAndFailsWithoutAUtf8Form) {
    EXPECT_EQ(whole(String(nullptr)), L"");
    String text(L"caf\u00E9 \U0001F600");
    const char* first = text;
    EXPECT_STREQ(first, "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(static_cast<const char*>(text), first);  // cached until the text changes
    text = String(L"x");
    EXPECT_STREQ(static_cast<const char*>(text), "x");
    EXPECT_EQ(whole(String(text)), L"x");
    const wchar_t unconvertible[] = {L'a', static_cast<wchar_t>(0xDC00), L'\0'};
    EXPECT_EQ(static_cast<const char*>(String(unconvertible)), nullptr);
}

}  // namespace
