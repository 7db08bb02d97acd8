#include "base/String.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/TestSupport.h"
#include "platform/utf8.h"

namespace {

// Occurrences by their definition: every position where the needle fits and matches.
bool occursAt(const std::wstring& text, const std::wstring& needle, int position) {
    return position >= 0 && static_cast<std::size_t>(position) + needle.size() <= text.size() &&
           text.compare(static_cast<std::size_t>(position), needle.size(), needle) == 0;
}

int expectedIndexOf(const std::wstring& text, const std::wstring& needle, int from) {
    for (int p = std::max(from, 0); p <= static_cast<int>(text.size()); ++p) {
        if (occursAt(text, needle, p)) {
            return p;
        }
    }
    return -1;
}

int expectedLastIndexOf(const std::wstring& text, const std::wstring& needle, int from) {
    const int start = from == -1 ? static_cast<int>(text.size()) : from;
    for (int p = start; p >= 0; --p) {
        if (occursAt(text, needle, p)) {
            return p;
        }
    }
    return -1;
}

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
        ASSERT_EQ(string.length(), size);
        for (int from = -3; from <= size + 3; ++from) {
            ASSERT_EQ(string.indexOf(pattern, from), expectedIndexOf(text, needle, from))
                << ::testing::PrintToString(text) << ::testing::PrintToString(needle) << from;
            ASSERT_EQ(string.lastIndexOf(pattern, from), expectedLastIndexOf(text, needle, from))
                << ::testing::PrintToString(text) << ::testing::PrintToString(needle) << from;
            ASSERT_EQ(string.startsWith(pattern, from), occursAt(text, needle, from));
            ASSERT_EQ(std::wstring(string.substring(from).m_Text),
                      expectedSubstring(text, from, size));
            const int end = from + static_cast<int>(random() % 7) - 3;
            ASSERT_EQ(std::wstring(string.substring(from, end).m_Text),
                      expectedSubstring(text, from, end));
        }
        ASSERT_EQ(string.endsWith(pattern),
                  occursAt(text, needle, size - static_cast<int>(needle.size())));
    }
}

TEST(BaseString, MultibyteFormFollowsTheTextAndFailsWithoutAUtf8Form) {
    const String fromNull(nullptr);
    ASSERT_NE(fromNull.m_Text, nullptr);
    EXPECT_STREQ(static_cast<const char*>(fromNull), "");

    String text(L"caf\u00E9 \U0001F600");
    const char* first = text;
    EXPECT_STREQ(first, "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(static_cast<const char*>(text), first);  // cached until the text changes

    text = String(L"x");
    EXPECT_STREQ(static_cast<const char*>(text), "x");

    const wchar_t unconvertible[] = {L'a', static_cast<wchar_t>(0xDC00), L'\0'};
    text = String(unconvertible);
    EXPECT_EQ(static_cast<const char*>(text), nullptr);

    String copy(L"\u20AC");
    ASSERT_STREQ(static_cast<const char*>(copy), "\xE2\x82\xAC");
    const String& alias = copy;
    copy = alias;
    EXPECT_STREQ(static_cast<const char*>(copy), "\xE2\x82\xAC");
    String other(copy);
    EXPECT_EQ(std::wstring(other.m_Text), L"\u20AC");
}

}  // namespace
