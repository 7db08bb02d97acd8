#include "PluginSDK/IniFileReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "platform/TestSupport.h"

namespace {

using PluginSDK::IniFileReader;

std::optional<std::wstring> lookUp(IniFileReader& reader, const std::wstring& section,
                                   const std::wstring& key) {
    std::wstring value = L"untouched";
    if (!reader.getProperty(section, key, value)) {
        EXPECT_EQ(value, L"untouched");
        return std::nullopt;
    }
    return value;
}

TEST(IniFileReader, ParsesTheSyntax) {
    const struct {
        const char* content;
        const wchar_t* section;
        const wchar_t* key;
        std::optional<std::wstring> expected;
    } cases[] = {
        {"[s]\nk=v\n", L"s", L"k", L"v"},
        {"[s]\n  k  =  v w  \n", L"s", L"k", L"v w"},
        {"[ s ]\nk=v", L"s", L"k", L"v"},
        {"[s]\r\nk=v\r\n", L"s", L"k", L"v"},
        {"\xEF\xBB\xBF[s]\nk=v\n", L"s", L"k", L"v"},
        {"[Section]\nKey=v\n", L"sECTION", L"kEY", L"v"},
        {"[s]\nk=\" quoted \"\n", L"s", L"k", L" quoted "},
        {"[s]\nk='single'\n", L"s", L"k", L"single"},
        {"[s]\nk=\"mixed'\n", L"s", L"k", L"\"mixed'"},
        {"[s]\nk=\"\n", L"s", L"k", L"\""},
        {"[s]\nk=\"a\"b\"\n", L"s", L"k", L"a\"b"},
        {"[s]\nk=\n", L"s", L"k", L""},
        {"[s]\nk=a=b\n", L"s", L"k", L"a=b"},
        {"[s]\nk=1\nK=2\n", L"s", L"k", L"1"},
        {"[s]\nk=1\n[t]\n[S]\nk=2\nj=3\n", L"s", L"j", L"3"},
        {"[s]\nk=1\n[t]\n[S]\nk=2\n", L"s", L"k", L"1"},
        {"k=top\n[s]\n", L"", L"k", L"top"},
        {"k=top\n[s]\n", L"s", L"k", std::nullopt},
        {"[s]\n; k=1\n", L"s", L"k", std::nullopt},
        {"[s]\n  # k=1\n", L"s", L"k", std::nullopt},
        {"[s]\nno pair here\nk=v\n", L"s", L"k", L"v"},
        {"[s]\n=v\n", L"s", L"", std::nullopt},
        {"[s]\n[broken\nk=v\n", L"s", L"k", L"v"},
        {"[s] trailing\nk=v\n", L"", L"k", L"v"},
        {"[]\nk=v\n", L"", L"k", L"v"},
        {"[s]\nk=caf\xC3\xA9\n", L"s", L"k", L"caf\u00E9"},
        {"[s]\n\xC3\x89=upper\n", L"s", L"\u00E9", std::nullopt},
        {"[s]\nk=\xFF\n", L"s", L"k", L"\uFFFD"},
        {"", L"", L"k", std::nullopt},
        {"[s]\nk=v", L"t", L"k", std::nullopt},
    };
    for (const auto& c : cases) {
        IniFileReader reader(nullptr);
        EXPECT_FALSE(reader.m_IsValid);
        EXPECT_TRUE(reader.parse(c.content));
        EXPECT_TRUE(reader.m_IsValid);
        EXPECT_EQ(lookUp(reader, c.section, c.key), c.expected)
            << ::testing::PrintToString(std::string(c.content));
    }
}

TEST(IniFileReader, ReadsLongLinesAndReplacesEarlierContent) {
    IniFileReader reader(nullptr);
    const std::string longValue(200000, 'v');
    reader.parse("[s]\nk=" + longValue + "\n" + std::string(100000, ' ') + "j=1");
    EXPECT_EQ(lookUp(reader, L"s", L"k"), std::wstring(longValue.begin(), longValue.end()));
    EXPECT_EQ(lookUp(reader, L"s", L"j"), L"1");
    reader.parse("[t]\nk=2\n");
    EXPECT_EQ(lookUp(reader, L"s", L"k"), std::nullopt);
    EXPECT_EQ(lookUp(reader, L"t", L"k"), L"2");
}

TEST(IniFileReader, ReadsAFileByItsWideName) {
    platform_test::TempDir dir;
    const std::filesystem::path file = dir.path() / "caf\xC3\xA9.ini";
    std::ofstream(file) << "[s]\nk = v\n";
    const std::wstring widePath = dir.path().wstring() + L"/caf\u00E9.ini";
    IniFileReader regular(widePath.c_str());
    ASSERT_TRUE(regular.m_IsValid);
    EXPECT_EQ(lookUp(regular, L"S", L"K"), L"v");

    std::ofstream(dir.path() / "empty.ini");
    EXPECT_TRUE(IniFileReader((dir.path() / "empty.ini").wstring().c_str()).m_IsValid);

    // FIFOs, sockets, devices, directories and missing files: IniFileFixtureTest, in a child.
    const wchar_t unconvertible[] = {L'/', static_cast<wchar_t>(0xD800), L'\0'};
    EXPECT_FALSE(IniFileReader(unconvertible).m_IsValid);
    EXPECT_FALSE(IniFileReader(L"").m_IsValid);
}

}  // namespace
