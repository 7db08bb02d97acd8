#include "cross/FileInfoCompare.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "cross/ProbeTesting.h"

using CorePlugin::FileInfoCompare;
using harness::evaluate;

namespace {

std::string compare(const std::wstring& path, const wchar_t* field, const wchar_t* relation,
                    const std::wstring& value, const wchar_t* mustExist = nullptr) {
    harness::Properties properties = {
        {L"absolutePath", path}, {L"field", field}, {L"relation", relation}, {L"value", value}};
    if (mustExist != nullptr) {
        properties.emplace_back(L"mustExist", mustExist);
    }
    return probe::describe(evaluate<FileInfoCompare>(properties));
}

std::wstring decimal(std::uint64_t value) {
    return std::to_wstring(value);
}

}  // namespace

TEST(FileInfoCompareTest, ComparesTheAttributeStatReports) {
    const probe::Tree tree;
    const auto status = probe::statOf(tree.root() / "file");
    ASSERT_TRUE(status.has_value());
    const std::wstring file = tree["file"];
    const std::wstring future = decimal(static_cast<std::uint64_t>(std::time(nullptr)) + 100000);
    const struct {
        const wchar_t* field;
        const wchar_t* relation;
        std::wstring value;
        std::string expected;
    } cases[] = {
        {L"size", L"eq", L"1234", "0:true"},
        {L"size", L"ne", L"1234", "0:false"},
        {L"size", L"gt", L"1000", "0:true"},
        {L"size", L"le", L"1233", "0:false"},
        {L"size", L"ge", L"-5", "0:true"},
        {L"inode", L"eq", decimal(status->st_ino), "0:true"},
        {L"inode", L"lt", decimal(status->st_ino), "0:false"},
        // -1 reads as 4294967295, above every inode number of a 32-bit value.
        {L"inode", L"lt", L"-1", "0:true"},
        {L"inode", L"eq", L"-1", "0:false"},
        {L"mtime", L"eq", decimal(status->st_mtime), "0:true"},
        {L"mtime", L"lt", future, "0:true"},
        {L"ctime", L"le", decimal(status->st_ctime), "0:true"},
        {L"atime", L"ge", decimal(status->st_atime), "0:true"},
        {L"atime", L"gt", decimal(status->st_atime), "0:false"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare(file, c.field, c.relation, c.value), c.expected)
            << std::wstring(c.field) << L" " << c.relation << L" " << c.value;
        EXPECT_EQ(compare(tree["link-to-file"], c.field, c.relation, c.value), c.expected);
    }
}

TEST(FileInfoCompareTest, AMissingFileSatisfiesNoRelationUnlessItMustExist) {
    const probe::Tree tree;
    // A directory, a FIFO and a dangling link are no regular files: they count as missing.
    for (const char* name : {"missing", "dir", "fifo", "dangling"}) {
        for (const wchar_t* relation : {L"eq", L"ne", L"gt", L"ge", L"lt", L"le"}) {
            EXPECT_EQ(compare(tree[name], L"size", relation, L"0"), "0:false") << name;
        }
        EXPECT_EQ(compare(tree[name], L"size", L"ne", L"0", L"true"), "-11033:") << name;
        // Only the exact word "true" requires the file, so nothing here reaches -11028.
        for (const wchar_t* mustExist : {L"false", L"TRUE", L"yes", L""}) {
            EXPECT_EQ(compare(tree[name], L"size", L"ne", L"0", mustExist), "0:false") << name;
        }
    }
}

TEST(FileInfoCompareTest, CodesComeInTheirOrder) {
    const probe::Tree tree;
    const std::wstring file = tree["file"];
    const std::wstring missing = tree["missing"];
    const struct {
        harness::Properties properties;
        std::string expected;
    } cases[] = {
        // The relation's presence first, then the other properties in order.
        {{}, "-11023:"},
        {{{L"absolutePath", file}, {L"field", L"size"}, {L"value", L"1"}}, "-11023:"},
        {{{L"relation", L"eq"}, {L"field", L"size"}}, "-11025:"},
        {{{L"relation", L"eq"}, {L"absolutePath", file}, {L"value", L"1"}}, "-11027:"},
        {{{L"relation", L"eq"}, {L"absolutePath", file}, {L"field", L"size"}}, "-11022:"},
        // Then the file: a missing file that must exist outranks every text.
        {{{L"absolutePath", missing},
          {L"field", L"version"},
          {L"relation", L"EQ"},
          {L"value", L"abc"},
          {L"mustExist", L"true"}},
         "-11033:"},
        // Then the field, the value and at last the relation's name.
        {{{L"absolutePath", file}, {L"field", L"version"}, {L"relation", L"EQ"}, {L"value", L"x"}},
         "-11011:"},
        {{{L"absolutePath", file}, {L"field", L"Size"}, {L"relation", L"eq"}, {L"value", L"1"}},
         "-11011:"},
        {{{L"absolutePath", missing}, {L"field", L"Size"}, {L"relation", L"eq"}, {L"value", L"1"}},
         "-11011:"},
        {{{L"absolutePath", file}, {L"field", L"atime"}, {L"relation", L"EQ"}, {L"value", L"abc"}},
         "-101:"},
        {{{L"absolutePath", missing},
          {L"field", L"size"},
          {L"relation", L"eq"},
          {L"value", L"abc"}},
         "-101:"},
        {{{L"absolutePath", file}, {L"field", L"size"}, {L"relation", L"EQ"}, {L"value", L"1"}},
         "-11007:"},
        {{{L"absolutePath", missing}, {L"field", L"size"}, {L"relation", L"EQ"}, {L"value", L"1"}},
         "-11007:"},
        {{{L"absolutePath", file + L"/below"},
          {L"field", L"size"},
          {L"relation", L"eq"},
          {L"value", L"1"}},
         "-11009:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(probe::describe(evaluate<FileInfoCompare>(c.properties)), c.expected)
            << ::testing::PrintToString(c.properties);
    }
}

TEST(FileInfoCompareTest, LargeSizesCompareAsNegativeAndOversizedOnesFail) {
    const probe::Tree tree;
    const std::string file = (tree.root() / "file").string();
    if (!probe::runTool("truncate -s 3000000000 " + file)) {
        GTEST_SKIP() << "this file system holds no sparse file of 3000000000 bytes";
    }
    EXPECT_EQ(compare(tree["file"], L"size", L"lt", L"0"), "0:true");
    EXPECT_EQ(compare(tree["file"], L"size", L"eq", L"-1294967296"), "0:true");
    ASSERT_TRUE(probe::runTool("truncate -s 5000000000 " + file));
    EXPECT_EQ(compare(tree["file"], L"size", L"gt", L"0"), "-11009:");
    EXPECT_EQ(compare(tree["file"], L"size", L"gt", L"0", L"true"), "-11009:");
}
