#include "PluginSDK/VectorString.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/TestSupport.h"

namespace {

using PluginSDK::StringVector;
using PluginSDK::VectorString;

std::vector<std::wstring> parse(const wchar_t* text) {
    StringVector vector;
    VectorString::toVector(text, vector);
    std::vector<std::wstring> elements;
    for (int i = 0; i < vector.m_Count; ++i) {
        elements.emplace_back(vector[i]);
    }
    return elements;
}

std::wstring serialise(const std::vector<std::wstring>& elements) {
    VectorString text;
    for (const std::wstring& element : elements) {
        text += element.c_str();
    }
    return std::wstring(text);
}

TEST(VectorString, AnyListComesBackUnchanged) {
    std::mt19937 random(10);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::wstring> elements(random() % 6);
        for (std::wstring& element : elements) {
            element = platform_test::randomText(random, L";;\\\\a \u00E9\U0001F600", 6);
        }
        ASSERT_EQ(parse(serialise(elements).c_str()), elements)
            << ::testing::PrintToString(serialise(elements));
    }

    VectorString text;
    text += L"x";
    text += nullptr;
    StringVector vector;
    vector.addString(L"before");
    VectorString::toVector(text, vector);  // appends to what the vector holds
    ASSERT_EQ(vector.m_Count, 3);
    EXPECT_EQ(vector[1], L"x");
    EXPECT_EQ(vector[2], L"");
    text.reset();
    EXPECT_EQ(std::wstring(text), L"");
    EXPECT_TRUE(parse(text).empty());
}

TEST(VectorString, ArbitraryTextHasADefinedAnswer) {
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> expected;
    } cases[] = {
        {nullptr, {}},
        {L"", {}},
        {L"a", {L"a"}},
        {L";", {L""}},
        {L"a;;b", {L"a", L"", L"b"}},
        {L"a\\", {L"a\\"}},
        {L"\\;", {L";"}},
        {L"\\\\;\\", {L"\\", L"\\"}},
        {L"\\x\\;;", {L"x;"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parse(c.text), c.expected) << ::testing::PrintToString(c.text);
    }

    // Whatever a text yields, written out again it reads back the same.
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        const std::wstring text = platform_test::randomText(random, L";\\ab\u00E9", 12);
        const std::vector<std::wstring> elements = parse(text.c_str());
        ASSERT_EQ(parse(serialise(elements).c_str()), elements) << ::testing::PrintToString(text);
    }
}

}  // namespace
