#include "cross/IniFileKeyExists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "cross/IniFileKeyValue.h"
#include "cross/ProbeTesting.h"

using CorePlugin::IniFileKeyExists;
using CorePlugin::IniFileKeyValue;

namespace {

const std::wstring kSyntax = (std::filesystem::path(__FILE__).parent_path().parent_path() /
                              "fixtures" / "ini" / "syntax.ini")
                                 .wstring();

// Both expressions' answers, "code:result code:result", evaluated in a child process that a
// timeout stops: a reader that opens the wrong kind of file hangs instead of failing.
std::string lookUp(const harness::Properties& properties, bool unprivileged = false) {
    return platform_test::ChildProcess::run(
        [&] {
            return probe::describe(harness::evaluate<IniFileKeyExists>(properties)) + " " +
                   probe::describe(harness::evaluate<IniFileKeyValue>(properties));
        },
        unprivileged);
}

harness::Properties key(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    return {{L"file", file}, {L"section", section}, {L"key", key}};
}

}  // namespace

TEST(IniFileKeyTest, AnswersFromTheFile) {
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        std::string expected;
    } cases[] = {
        {L"General", L"name", "0:true 0:CorePlugin"},
        {L"GENERAL", L"Padded", "0:true 0:value with blanks"},
        {L"other section", L"after", "0:true 0:below a broken header"},
        // An empty value exists, yet reads like a missing key.
        {L"General", L"empty", "0:true 0:"},
        {L"General", L"missing", "0:false 0:"},
        {L"Missing", L"name", "0:false 0:"},
        // Empty texts are names like any other: the keys before the first header.
        {L"", L"top", "0:true 0:before any header"},
        {L"General", L"", "0:false 0:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookUp(key(kSyntax, c.section, c.key)), c.expected)
            << std::wstring(c.section) << L"/" << c.key;
    }
}

TEST(IniFileKeyTest, AFileThatCannotBeReadAnswersLikeAMissingKey) {
    const probe::Tree tree;
    for (const char* name : {"missing", "dir", "fifo", "socket", "dangling", "file/below"}) {
        EXPECT_EQ(lookUp(key(tree[name], L"s", L"k")), "0:false 0:") << name;
    }
    EXPECT_EQ(lookUp(key(L"/dev/zero", L"s", L"k")), "0:false 0:");
    EXPECT_EQ(lookUp(key(L"", L"s", L"k")), "0:false 0:");
}

TEST(IniFileKeyTest, AFileTheUserMayNotReadAnswersLikeAMissingKey) {
    PROBE_REQUIRE_UNPRIVILEGED_USER();
    const probe::Tree tree;
    std::ofstream(tree.root() / "readable.ini") << "[s]\nk=v\n";
    std::ofstream(tree.root() / "private.ini") << "[s]\nk=v\n";
    std::filesystem::permissions(tree.root() / "readable.ini", std::filesystem::perms::all);
    std::filesystem::permissions(tree.root() / "private.ini", std::filesystem::perms::owner_read);
    EXPECT_EQ(lookUp(key(tree["readable.ini"], L"s", L"k"), true), "0:true 0:v");
    EXPECT_EQ(lookUp(key(tree["private.ini"], L"s", L"k"), true), "0:false 0:");
}

TEST(IniFileKeyTest, AbsentPropertiesGiveTheLastOnesCode) {
    // The result held a stale text before: IniFileKeyValue leaves the empty text where
    // IniFileKeyExists clears its result, and both read as "".
    const struct {
        harness::Properties properties;
        std::string expected;
    } cases[] = {
        {{}, "-11020: -11020:"},
        {{{L"section", L"s"}, {L"key", L"k"}}, "-11014: -11014:"},
        {{{L"file", kSyntax}, {L"key", L"k"}}, "-11027: -11027:"},
        {{{L"file", kSyntax}, {L"section", L"s"}}, "-11020: -11020:"},
        {{{L"section", L"s"}}, "-11020: -11020:"},
        {{{L"key", L"k"}}, "-11027: -11027:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookUp(c.properties), c.expected) << ::testing::PrintToString(c.properties);
    }
}
