#include "common/Comparable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

using CorePlugin::Comparable;

namespace {

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

int sign(long long difference) {
    return (difference > 0) - (difference < 0);
}

// The six relations must agree with one three-way order: -1, 0 or 1.
void expectRelations(const Comparable& a, const Comparable& b, int order, const std::string& what) {
    EXPECT_EQ(a > b, order > 0) << what;
    EXPECT_EQ(a >= b, order >= 0) << what;
    EXPECT_EQ(a == b, order == 0) << what;
    EXPECT_EQ(a <= b, order <= 0) << what;
    EXPECT_EQ(a < b, order < 0) << what;
    EXPECT_EQ(a != b, order != 0) << what;
}

// A version's order, independently: its fields printed with ten digits each compare as text.
std::string sortable(const CorePlugin::Version& version) {
    char text[64];
    const auto& f = version.value();
    std::snprintf(text, sizeof text, "%010lu.%010lu.%010lu.%010lu",
                  static_cast<unsigned long>(f[0]), static_cast<unsigned long>(f[1]),
                  static_cast<unsigned long>(f[2]), static_cast<unsigned long>(f[3]));
    return text;
}

}  // namespace

TEST(ComparableTest, NumbersOrderAsTheirTypeReadsThem) {
    std::mt19937 random(7);
    std::vector<std::uint32_t> numbers = {0, 1, 2147483647u, 2147483648u, 4294967295u};
    for (int i = 0; i < 60; ++i) {
        numbers.push_back(static_cast<std::uint32_t>(random()));
    }
    for (std::uint32_t x : numbers) {
        for (std::uint32_t y : numbers) {
            const std::string what = std::to_string(x) + " vs " + std::to_string(y);
            const auto sx = static_cast<std::int32_t>(x), sy = static_cast<std::int32_t>(y);
            expectRelations(CorePlugin::Integer(sx), CorePlugin::Integer(sy),
                            sign(static_cast<long long>(sx) - sy), what);
            expectRelations(CorePlugin::UInteger(x), CorePlugin::UInteger(y),
                            sign(static_cast<long long>(x) - y), what);
            expectRelations(CorePlugin::Hex(x), CorePlugin::Hex(y),
                            sign(static_cast<long long>(x) - y), what);
        }
    }
    expectRelations(CorePlugin::Boolean(false), CorePlugin::Boolean(true), -1, "false vs true");
    expectRelations(CorePlugin::Boolean(true), CorePlugin::Boolean(true), 0, "true vs true");
}

TEST(ComparableTest, VersionsOrderFieldByField) {
    std::vector<CorePlugin::Version> versions;
    for (const wchar_t* text :
         {L"", L"1", L"1.2", L"1.2.0.0", L"1.9", L"1.10", L"1.10.0.1", L"2", L"1.99.99.99",
          L"0.0.0.1", L"1,2_3.4", L"1..2", L"4294967295", L"1.3000000000"}) {
        versions.emplace_back(9, 9, 9, 9);
        ASSERT_EQ(versions.back().set(text), PluginSDK::RC_SUCCESS) << narrow(text);
    }
    for (const auto& a : versions) {
        for (const auto& b : versions) {
            const std::string left = sortable(a), right = sortable(b);
            expectRelations(a, b, sign(left.compare(right)), left + " vs " + right);
        }
    }
}

TEST(ComparableTest, TextsOrderByCodePointAndCiStringIgnoresAsciiCase) {
    const wchar_t* texts[] = {L"",   L"a",          L"A",          L"abc",        L"ABC", L"abd",
                              L"ab", L"Mot\u00f6r", L"MOT\u00d6R", L"\U0001F600", L"z",   L"_"};
    const auto upper = [](std::wstring text) {
        for (wchar_t& c : text) {
            c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        }
        return text;
    };
    for (const wchar_t* x : texts) {
        for (const wchar_t* y : texts) {
            const std::string what = narrow(x) + " vs " + narrow(y);
            expectRelations(CorePlugin::String(x), CorePlugin::String(y), sign(std::wcscmp(x, y)),
                            what);
            CorePlugin::CiString setFromY(nullptr);
            EXPECT_EQ(setFromY.set(y), PluginSDK::RC_SUCCESS);
            expectRelations(CorePlugin::CiString(x), setFromY, sign(upper(x).compare(upper(y))),
                            what);
        }
    }
    EXPECT_EQ(CorePlugin::String(nullptr).value(), L"");
    EXPECT_EQ(CorePlugin::CiString(nullptr).value(), L"");
}

TEST(ComparableTest, ValuesOfDifferentClassesAreInNoRelation) {
    // Each holds what reads as zero or the empty text, so only the class separates them.
    std::vector<std::unique_ptr<Comparable>> values;
    values.push_back(std::make_unique<CorePlugin::Boolean>(false));
    values.push_back(std::make_unique<CorePlugin::CiString>(L""));
    values.push_back(std::make_unique<CorePlugin::String>(L""));
    values.push_back(std::make_unique<CorePlugin::Integer>(0));
    values.push_back(std::make_unique<CorePlugin::UInteger>(0));
    values.push_back(std::make_unique<CorePlugin::Hex>(0));
    values.push_back(std::make_unique<CorePlugin::Version>(0, 0, 0, 0));
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = 0; j < values.size(); ++j) {
            const Comparable& a = *values[i];
            const Comparable& b = *values[j];
            EXPECT_EQ(a > b || a >= b || a == b || a <= b || a < b || a != b, i == j)
                << i << " vs " << j;
        }
    }
}

TEST(ComparableTest, BooleanAcceptsOnlyTheExactWords) {
    CorePlugin::Boolean value(true);
    for (const wchar_t* text : {L"True", L"TRUE", L"1", L"yes", L" true", L"true ", L"", L"f"}) {
        EXPECT_EQ(value.set(text), PluginSDK::RC_INVALID_ARGUMENT) << narrow(text);
    }
    EXPECT_EQ(value.set(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_TRUE(value.value());
    EXPECT_EQ(value.set(L"false"), PluginSDK::RC_SUCCESS);
    EXPECT_FALSE(value.value());
    EXPECT_EQ(value.set(L"true"), PluginSDK::RC_SUCCESS);
    EXPECT_TRUE(value.value());
}

TEST(ComparableTest, VersionTexts) {
    const std::pair<const wchar_t*, const wchar_t*> accepted[] = {
        {L"1,2_3.4", L"1.2.3.4"},
        {L"1.2", L"1.2.0.0"},
        {L"5", L"5.0.0.0"},
        {L"1..2", L"1.2.0.0"},
        {L"...", L"0.0.0.0"},
        {L"", L"0.0.0.0"},
        {L".1.", L"1.0.0.0"},
        {L"007.08", L"7.8.0.0"},
        {L"2147483648.4294967295.4294967296", L"2147483648.4294967295.4294967295.0"},
    };
    for (const auto& [text, stored] : accepted) {
        CorePlugin::Version version(9, 9, 9, 9);
        EXPECT_EQ(version.set(text), PluginSDK::RC_SUCCESS) << narrow(text);
        wchar_t* printed = version.get();
        EXPECT_STREQ(printed, stored);
        zovm_free(printed);
    }
    // A refused text resets the value instead of keeping it.
    for (const wchar_t* text : {L"1.2.3.4.5", L"....", L"1.a", L" 1.2", L"-1", L"1/2"}) {
        CorePlugin::Version version(9, 9, 9, 9);
        EXPECT_FALSE(CorePlugin::Version::isValid(text));
        EXPECT_EQ(version.set(text), PluginSDK::RC_INVALID_VERSION) << narrow(text);
        EXPECT_TRUE(version == CorePlugin::Version(0, 0, 0, 0)) << narrow(text);
    }
    CorePlugin::Version version(1, 1, 1, 1);
    EXPECT_EQ(version.set(nullptr), PluginSDK::RC_INVALID_VERSION);
    EXPECT_EQ(version.set(4294967295u, 0, 2147483648u, 1), PluginSDK::RC_SUCCESS);
    wchar_t* printed = version.get();
    EXPECT_STREQ(printed, L"4294967295.0.2147483648.1");
    zovm_free(printed);
    EXPECT_EQ(CorePlugin::Version::getField(L"_3,,4.", 1), 4u);
    EXPECT_EQ(CorePlugin::Version::getField(L"1.2.3.4", 65535), 0u);
}
