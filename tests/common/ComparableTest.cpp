// How each value class reads a text and orders is shown in cases/compare.cases, through Compare;
// what no expression uses is checked here.

#include "common/Version.h"

#include <gtest/gtest.h>

#include "common/Converter.h"

using CorePlugin::Version;

// Not used by any expression, but offered: the text of a version, and one field of a text.
TEST(ComparableTest, VersionTextAndFields) {
    Version version(1, 1, 1, 1);
    EXPECT_EQ(version.set(4294967295u, 0, 2147483648u, 1), 0);
    EXPECT_EQ(CorePlugin::Converter::toString(version), L"4294967295.0.2147483648.1");
    EXPECT_EQ(Version::getField(L"_3,,4.", 1), 4u);
    EXPECT_EQ(Version::getField(L"1.2.3.4", 65535), 0u);
}
