// Each value class's six relations against an independent order of many values; what a text
// reads as, and how Compare names the relations, are in cases/compare.cases.

#include "common/Comparable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/Boolean.h"
#include "common/CiString.h"
#include "common/Converter.h"
#include "common/Hex.h"
#include "common/Integer.h"
#include "common/String.h"
#include "common/UInteger.h"
#include "common/Version.h"

using namespace CorePlugin;

namespace {

// Every pair of `values` must stand in the relations in which their `keys` stand.
template <class T, class Key>
void expectOrder(const std::vector<T>& values, const std::vector<Key>& keys) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = 0; j < values.size(); ++j) {
            SCOPED_TRACE(std::to_string(i) + " vs " + std::to_string(j));
            const Comparable &a = values[i], &b = values[j];
            EXPECT_EQ(a > b, keys[i] > keys[j]);
            EXPECT_EQ(a >= b, keys[i] >= keys[j]);
            EXPECT_EQ(a == b, keys[i] == keys[j]);
            EXPECT_EQ(a <= b, keys[i] <= keys[j]);
            EXPECT_EQ(a < b, keys[i] < keys[j]);
            EXPECT_EQ(a != b, keys[i] != keys[j]);
        }
    }
}

}  // namespace

TEST(ComparableTest, NumbersOrderAsTheirTypeReadsThem) {
    const std::uint32_t edges[] = {0, 1, 2147483647u, 2147483648u, 4294967295u};
    std::mt19937 random(7);
    std::vector<Integer> integers;
    std::vector<UInteger> unsignedIntegers;
    std::vector<Hex> hexes;
    std::vector<long long> signedKeys, unsignedKeys;
    for (std::size_t i = 0; i < 65; ++i) {
        const std::uint32_t number = i < 5 ? edges[i] : static_cast<std::uint32_t>(random());
        integers.emplace_back(static_cast<std::int32_t>(number));
        unsignedIntegers.emplace_back(number);
        hexes.emplace_back(number);
        signedKeys.push_back(static_cast<std::int32_t>(number));
        unsignedKeys.push_back(number);
    }
    expectOrder(integers, signedKeys);
    expectOrder(unsignedIntegers, unsignedKeys);
    expectOrder(hexes, unsignedKeys);
    expectOrder(std::vector<Boolean>{Boolean(false), Boolean(true)}, std::vector<int>{0, 1});
}

TEST(ComparableTest, VersionsOrderFieldByField) {
    std::vector<Version> versions;
    std::vector<std::string> keys;  // the fields printed with ten digits each compare as text
    for (const wchar_t* text :
         {L"", L"1", L"1.2", L"1.2.0.0", L"1.9", L"1.10", L"1.10.0.1", L"2", L"1.99.99.99",
          L"0.0.0.1", L"1,2_3.4", L"4294967295", L"1.3000000000"}) {
        versions.emplace_back(9, 9, 9, 9);
        ASSERT_EQ(versions.back().set(text), 0);
        const auto& f = versions.back().value();
        char key[64];
        std::snprintf(key, sizeof key, "%010lu.%010lu.%010lu.%010lu",
                      static_cast<unsigned long>(f[0]), static_cast<unsigned long>(f[1]),
                      static_cast<unsigned long>(f[2]), static_cast<unsigned long>(f[3]));
        keys.push_back(key);
    }
    expectOrder(versions, keys);
    // Not used by any expression, but offered: the text of a version and one field of a text.
    Version version(1, 1, 1, 1);
    EXPECT_EQ(version.set(4294967295u, 0, 2147483648u, 1), 0);
    EXPECT_EQ(Converter::toString(version), L"4294967295.0.2147483648.1");
    EXPECT_EQ(Version::getField(L"_3,,4.", 1), 4u);
    EXPECT_EQ(Version::getField(L"1.2.3.4", 65535), 0u);
}

TEST(ComparableTest, TextsOrderByCodePointAndCiStringIgnoresAsciiCase) {
    std::vector<String> strings;
    std::vector<CiString> ciStrings;
    std::vector<std::wstring> keys, upperKeys;
    for (const std::wstring text : {L"", L"a", L"A", L"abc", L"ABC", L"abd", L"ab", L"Mot\u00f6r",
                                    L"MOT\u00d6R", L"\U0001F600", L"z", L"_"}) {
        strings.emplace_back(text.c_str());
        ciStrings.emplace_back(text.c_str());
        keys.push_back(text);
        for (wchar_t& c : upperKeys.emplace_back(text)) {
            c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
        }
    }
    expectOrder(strings, keys);
    expectOrder(ciStrings, upperKeys);
}

TEST(ComparableTest, ValuesOfDifferentClassesAreInNoRelation) {
    // Each holds what reads as zero or the empty text, so only the class separates them.
    const std::unique_ptr<Comparable> values[] = {
        std::make_unique<Boolean>(false),     std::make_unique<CiString>(L""),
        std::make_unique<String>(L""),        std::make_unique<Integer>(0),
        std::make_unique<UInteger>(0),        std::make_unique<Hex>(0),
        std::make_unique<Version>(0, 0, 0, 0)};
    for (const auto& a : values) {
        for (const auto& b : values) {
            EXPECT_EQ(*a > *b || *a >= *b || *a == *b || *a <= *b || *a < *b || *a != *b, a == b);
        }
    }
}
