#include "common/Converter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PluginSDK/ResultCodes.h"
#include "common/UInteger.h"
#include "common/Version.h"

using CorePlugin::Converter;

TEST(ConverterTest, TruthWords) {
    EXPECT_EQ(Converter::toString(true), L"true");
    EXPECT_EQ(Converter::toString(false), L"false");
}

TEST(ConverterTest, NumbersAreTheSigned32BitsAndReadBackToTheSameValue) {
    std::vector<std::uint32_t> values = {0, 1, 9, 10, 2147483647u, 2147483648u, 4294967295u};
    std::mt19937 random(11);
    for (int i = 0; i < 500; ++i) {
        values.push_back(static_cast<std::uint32_t>(random()));
    }
    for (std::uint32_t value : values) {
        const auto asSigned = static_cast<std::int32_t>(value);
        const std::wstring expected = std::to_wstring(asSigned);
        EXPECT_EQ(Converter::toString(asSigned), expected.c_str());
        const PluginSDK::String text = Converter::toString(value);
        EXPECT_EQ(text, expected.c_str());
        // Results handed from one expression to another keep their 32 bits.
        std::uint32_t back = ~value;
        EXPECT_EQ(Converter::toUnsignedLong(text, back), PluginSDK::RC_SUCCESS) << value;
        EXPECT_EQ(back, value);
        CorePlugin::UInteger reread(~value);
        EXPECT_EQ(reread.set(text), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(reread.value(), value);
    }
}

TEST(ConverterTest, VersionsPrintAllFourFields) {
    CorePlugin::Version version(0, 0, 0, 0);
    ASSERT_EQ(version.set(L"1.2"), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(Converter::toString(version), L"1.2.0.0");
    EXPECT_EQ(Converter::toString(CorePlugin::Version(4294967295u, 2147483648u, 0, 7)),
              L"4294967295.2147483648.0.7");
}
