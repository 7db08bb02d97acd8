#include "utils/StringUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/TestSupport.h"

namespace {

using platform_test::widen;

// Takes over a C-allocated copy.
template <class C>
std::basic_string<C> taken(C* copy) {
    const std::unique_ptr<C, decltype(&std::free)> owner(copy, &std::free);
    return std::basic_string<C>(copy);
}

// Left, right and both trims of `text` by the copying, the standard-string and the buffer
// forms, in that order.
template <class C>
std::vector<std::basic_string<C>> allTrims(const std::basic_string<C>& text) {
    std::vector<std::basic_string<C>> trims = {taken(utils::trimLeft(text.c_str())),
                                               taken(utils::trimRight(text.c_str())),
                                               taken(utils::trimBoth(text.c_str()))};
    using StringTrim = void (*)(std::basic_string<C>&);
    for (StringTrim trim : {StringTrim(utils::trimLeftInPlace), StringTrim(utils::trimRightInPlace),
                            StringTrim(utils::trimBothInPlace)}) {
        trims.push_back(text);
        trim(trims.back());
    }
    using BufferTrim = void (*)(C*);
    for (BufferTrim trim :
         {BufferTrim(utils::trimLeftInPlaceT), BufferTrim(utils::trimRightInPlaceT),
          BufferTrim(utils::trimBothInPlaceT)}) {
        std::vector<C> buffer(text.c_str(), text.c_str() + text.size() + 1);
        trim(buffer.data());
        trims.emplace_back(buffer.data());
    }
    return trims;
}

// Every trim form of both character types gives `left`, `right` and `both` for `text`.
void expectTrims(const std::string& text, const char* left, const char* right, const char* both) {
    std::vector<std::string> expected;
    std::vector<std::wstring> wideExpected;
    for (int form = 0; form < 3; ++form) {
        expected.insert(expected.end(), {left, right, both});
        wideExpected.insert(wideExpected.end(), {widen(left), widen(right), widen(both)});
    }
    EXPECT_EQ(allTrims(text), expected);
    EXPECT_EQ(allTrims(widen(text)), wideExpected);
}

}  // namespace

TEST(StringUtilsTest, Trims) {
    expectTrims("  a\tb\n", "a\tb\n", "  a\tb", "a\tb");
    expectTrims(" \t\n\v\f\r", "", "", "");
    // Code 0 is trailing junk to the string form only.
    std::string zeros = std::string("a \0\0", 4);
    utils::trimRightInPlace(zeros);
    EXPECT_EQ(zeros, "a");
    std::string leading = std::string("\0 a", 3);
    utils::trimLeftInPlace(leading);
    EXPECT_EQ(leading, std::string("\0 a", 3));

    EXPECT_EQ(utils::trimBoth(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(utils::trimBoth(static_cast<const wchar_t*>(nullptr)), nullptr);
    EXPECT_EQ(utils::wcsdup2(nullptr), nullptr);
    utils::trimBothInPlaceT(static_cast<char*>(nullptr));
    utils::trimBothInPlaceT(static_cast<wchar_t*>(nullptr));
}

TEST(StringUtilsTest, SplitFormatAndArgumentLists) {
    using Parts = std::vector<std::string>;
    EXPECT_EQ(utils::split(",a,,b,", ","), (Parts{"a", "b"}));

    EXPECT_EQ(utils::formatString("%d-%s-%05.1f", 42, "x", 3.14159), "42-x-003.1");
    // The default locale cannot write a wide character beyond ASCII: formatting fails.
    EXPECT_EQ(utils::formatString("a%lsb", L"\u00e9"), "");

    char x[] = "x";
    char* arguments[] = {x, x, nullptr};
    EXPECT_EQ(utils::printArgList(3, arguments), "x x  ");  // a null argument is empty
    wchar_t wideX[] = L"\u00e9";
    wchar_t* wideArguments[] = {wideX, wideX, nullptr};
    EXPECT_EQ(utils::printWArgList(3, wideArguments), L"\u00e9 \u00e9  ");
}

TEST(StringUtilsTest, MatchStringWithExtendedExpressions) {
    struct Case {
        const char* pattern;
        const char* text;
        int code;
        const char* group;
    };
    const Case cases[] = {
        {"version=([0-9.]+)", "app version=1.2.3", 0, "1.2.3"},
        {"version=([0-9.]+)", "app release", 1, ""},
        {"^([a-z]+)=", "key=value", 0, "key"},
        {"(", "x", 4, ""},
        {nullptr, "x", 4, ""},
        {"x", nullptr, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern != nullptr ? c.pattern : "null");
        std::string group = "stale";
        EXPECT_EQ(utils::matchString(c.pattern, c.text, group), c.code);
        EXPECT_EQ(group, c.group);
    }
}

TEST(StringUtilsTest, StartsWithAndEndsWith) {
    EXPECT_TRUE(utils::startsWith("abc", "abc") && utils::endsWith("abc", "abc"));
    EXPECT_FALSE(utils::startsWith("abc", "abcd") || utils::endsWith("abc", "abcd"));
    EXPECT_FALSE(utils::startsWith("abc", "bc") || utils::endsWith("abc", "ab"));
}
