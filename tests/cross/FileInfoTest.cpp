#include "cross/FileInfo.h"

#include <gtest/gtest.h>

#include <string>

#include "PluginSDK/ResultCodes.h"
#include "cross/ProbeTesting.h"

using CorePlugin::FileInfo;
using harness::evaluate;

namespace {

std::string info(const std::wstring& path, const wchar_t* field) {
    return probe::describe(evaluate<FileInfo>({{L"absolutePath", path}, {L"field", field}}));
}

// The decimal text FileInfo gives for a 32-bit value: from 2^31 up it reads as signed.
std::string asResult(std::uint64_t value) {
    return "0:" + std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

TEST(FileInfoTest, ReportsWhatStatReports) {
    const probe::Tree tree;
    for (const char* name : {"file", "empty", "link-to-file", "socket"}) {
        const auto status = probe::statOf(tree.root() / name);
        ASSERT_TRUE(status.has_value()) << name;
        EXPECT_EQ(info(tree[name], L"size"), asResult(status->st_size)) << name;
        EXPECT_EQ(info(tree[name], L"inode"), asResult(status->st_ino)) << name;
        EXPECT_EQ(info(tree[name], L"mtime"), asResult(status->st_mtime)) << name;
        EXPECT_EQ(info(tree[name], L"ctime"), asResult(status->st_ctime)) << name;
        EXPECT_EQ(info(tree[name], L"atime"), asResult(status->st_atime)) << name;
    }
    EXPECT_EQ(info(tree["file"], L"size"), "0:1234");
    EXPECT_EQ(info(tree["empty"], L"size"), "0:0");
}

TEST(FileInfoTest, FailuresClearTheResult) {
    const probe::Tree tree;
    const struct {
        std::wstring path;
        const wchar_t* field;
        std::string expected;
    } cases[] = {
        {tree["dir"], L"mtime", "-11013:"},
        {tree["link-to-dir"], L"size", "-11013:"},
        {tree["fifo"], L"size", "-11013:"},
        {L"/dev/null", L"inode", "-11013:"},
        {tree["missing"], L"mtime", "-11009:"},
        {tree["dangling"], L"size", "-11009:"},
        {tree["loop-a"], L"size", "-11009:"},
        {tree["file"] + L"/below", L"size", "-11009:"},
        // The field is checked before the file is looked at.
        {tree["file"], L"Size", "-11011:"},
        {tree["file"], L"", "-11011:"},
        {tree["file"], L"size ", "-11011:"},
        {tree["missing"], L"version", "-11011:"},
        {tree["dir"], L"MTIME", "-11011:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(info(c.path, c.field), c.expected) << probe::fs::path(c.path);
    }
}

TEST(FileInfoTest, AbsentPropertiesFailInOrder) {
    const struct {
        harness::Properties properties;
        std::string expected;
    } cases[] = {
        {{}, "-11025:"},
        {{{L"field", L"size"}}, "-11025:"},
        {{{L"absolutePath", L"/etc/passwd"}}, "-11027:"},
        {{{L"absolutePath", L""}, {L"field", L"size"}}, "-11009:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(probe::describe(evaluate<FileInfo>(c.properties)), c.expected);
    }
}

TEST(FileInfoTest, ADirectoryThatMayNotBeSearchedFails) {
    PROBE_REQUIRE_UNPRIVILEGED_USER();
    const probe::Tree tree;
    EXPECT_EQ(probe::describeUnprivileged<FileInfo>(
                  {{L"absolutePath", tree["locked/file"]}, {L"field", L"size"}}),
              "-11009:");
}

TEST(FileInfoTest, ValuesBeyondThirtyTwoBitsAreRefusedAndTheRestReadAsSigned) {
    const probe::Tree tree;
    const std::string file = (tree.root() / "file").string();
    if (!probe::runTool("truncate -s 3000000000 " + file) ||
        !probe::runTool("touch -m -d @4294967296 " + file)) {
        GTEST_SKIP() << "this file system holds no sparse file of 3000000000 bytes or no time "
                        "beyond 32 bits";
    }
    EXPECT_EQ(info(tree["file"], L"size"), "0:-1294967296");
    EXPECT_EQ(info(tree["file"], L"mtime"), "-11009:");
    ASSERT_TRUE(probe::runTool("truncate -s 4294967296 " + file));
    EXPECT_EQ(info(tree["file"], L"size"), "-11009:");
}
