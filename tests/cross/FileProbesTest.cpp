// What the file cases cannot show: answers that differ from one machine to the next (inode
// numbers, times, block devices), changes between evaluations, an ordinary user, values beyond
// 32 bits, paths no rule can write, and File's own checks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

#include "PluginSDK/ResultCodes.h"
#include "common/File.h"
#include "common/Path.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/PathExists.h"
#include "harness/Harness.h"
#include "harness/ScratchTree.h"
#include "platform/ChildProcess.h"

using namespace CorePlugin;
using platform_test::ChildProcess;

namespace {

std::string describe(const harness::Outcome& outcome) {
    return std::to_string(outcome.code) + ":" +
           std::string(outcome.result.begin(), outcome.result.end());
}

/// The answer of a new T with `properties` ("name=value ..."), as "code:result".
template <class T>
std::string ask(const std::wstring& properties) {
    return describe(harness::evaluate<T>(harness::parse(properties)));
}

}  // namespace

TEST(FileProbesTest, PathsWithoutAUtf8FormAndBlockDevices) {
    EXPECT_EQ(ask<FileExists>(L"absolutePath=/\x110000"), "-11009:");
    EXPECT_EQ(ask<PathExists>(L"absolutePath=/\x110000"), "-11009:");
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/dev", error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_block_file(error)) {
            // Its type 0x6000 holds the directory bit.
            const std::wstring device = entry->path().wstring();
            EXPECT_EQ(ask<FileExists>(L"absolutePath=" + device), "0:false");
            EXPECT_EQ(ask<PathExists>(L"absolutePath=" + device), "0:true");
            break;
        }
    }
}

// A directory the user may not search fails the probes; an INI file the user may not read
// answers like a missing key.
TEST(FileProbesTest, AnOrdinaryUserMeetsPermissions) {
    if (!ChildProcess::runsUnprivileged()) {
        GTEST_SKIP() << "running as root without a way to become another user";
    }
    const ScratchTree tree;
    std::ofstream(tree.root() / "private.ini") << "[s]\nk=v\n";
    std::filesystem::permissions(tree.root() / "private.ini", std::filesystem::perms::none);
    const std::wstring hidden = L"absolutePath=" + tree["locked/file"];
    const std::string answers = ChildProcess::run(
        [&] {
            return ask<FileExists>(hidden) + " " + ask<PathExists>(hidden) + " " +
                   ask<FileInfo>(hidden + L" field=size") + " " +
                   ask<FileExists>(L"absolutePath=" + tree["file"]) + " " +
                   ask<IniFileKeyExists>(L"file=" + tree["private.ini"] + L" section=s key=k");
        },
        true);
    EXPECT_EQ(answers, "-11009: -11009: -11009: 0:true 0:false");
}

TEST(FileProbesTest, EachEvaluationLooksAtTheFileSystemAgain) {
    const ScratchTree tree;
    FileExists file;
    file.setProperty(L"absolutePath", tree["new"].c_str());
    EXPECT_EQ(describe(harness::result(file)), "0:false");
    std::ofstream(tree.root() / "new") << "now a file";
    EXPECT_EQ(describe(harness::result(file)), "0:true");
    file.disposeExpression();
    std::filesystem::remove(tree.root() / "new");
    EXPECT_EQ(describe(harness::result(file)), "0:false");
}

// Distinct access and modification times, so that no field can stand in for another; from 2^31
// up, FileInfo reads a value as signed. The link is followed.
TEST(FileProbesTest, InodesAndTimesAreWhatStatReports) {
    const ScratchTree tree;
    const timespec times[2] = {{1000000000, 0}, {1500000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (tree.root() / "file").c_str(), times, 0), 0);
    struct stat status {};
    ASSERT_EQ(::stat((tree.root() / "file").c_str(), &status), 0);
    const std::wstring link = L"absolutePath=" + tree["link-to-file"] + L" field=";
    for (const auto& [field, value] :
         {std::pair<std::wstring, std::uint64_t>{L"inode", status.st_ino},
          {L"mtime", status.st_mtime},
          {L"ctime", status.st_ctime},
          {L"atime", status.st_atime}}) {
        EXPECT_EQ(ask<FileInfo>(link + field), "0:" + std::to_string(std::int32_t(value)));
        EXPECT_EQ(
            ask<FileInfoCompare>(link + field + L" relation=eq value=" + std::to_wstring(value)),
            "0:true");
    }
}

// Values that do not fit in 32 bits are refused rather than cut; those from 2^31 up read as
// signed numbers, and compare so for the size only. An INI file of up to 4 GiB is read, a larger
// one refused. The file is changed with this machine's tools, which set 64-bit times and sizes
// in every build.
TEST(FileProbesTest, ValuesBeyondThirtyTwoBitsAreRefused) {
    const ScratchTree tree;
    const struct {
        const char* command;
        const wchar_t* field;
        std::string value;
        const wchar_t* relation;  // to 0
        std::string compared;
        std::string ini = "0:v";  // IniFileKeyValue's answer for s/k
    } cases[] = {
        {"touch -m -d @4294967295", L"mtime", "0:-1", L"gt", "0:true"},
        {"touch -m -d @4294967296", L"mtime", "-11009:", L"gt", "-11009:"},
        {"touch -m -d @-1", L"mtime", "-11009:", L"ne", "-11009:"},
        {"truncate -s 4294967295", L"size", "0:-1", L"lt", "0:true"},
        {"truncate -s 4294967296", L"size", "-11009:", L"gt", "-11009:"},
        {"truncate -s 4294967297", L"size", "-11009:", L"gt", "-11009:", "0:"},
    };
    std::ofstream(tree.root() / "file") << "[s]\nk=v\n";
    const std::wstring file = L"absolutePath=" + tree["file"] + L" field=";
    for (const auto& c : cases) {
        const std::string command = c.command + (" " + (tree.root() / "file").string());
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
            GTEST_SKIP() << "this file system cannot hold the result of: " << c.command;
        }
        EXPECT_EQ(ask<FileInfo>(file + c.field), c.value) << c.command;
        EXPECT_EQ(ask<FileInfoCompare>(file + c.field + L" value=0 relation=" + c.relation),
                  c.compared)
            << c.command;
        // Known fault, to be mended: the ILP32 build opens no INI file of 2 GiB or more.
        if (sizeof(void*) == 8) {
            EXPECT_EQ(ask<IniFileKeyValue>(L"file=" + tree["file"] + L" section=s key=k"), c.ini);
        }
    }
}

TEST(FileTest, NullArgumentsComeBeforeAMissingPath) {
    const File noPath(nullptr);
    bool exists = true;
    std::uint32_t size = 7;
    wchar_t canonical[] = L"/a/b";
    EXPECT_EQ(noPath.exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(noPath.size(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(Path(nullptr).exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(noPath.exists(&exists), PluginSDK::RC_FILE_NO_PATH);
    EXPECT_EQ(noPath.size(&size), PluginSDK::RC_FILE_NO_PATH);
    EXPECT_EQ(Path(nullptr).exists(&exists), PluginSDK::RC_PATH_NO_PATH);
    EXPECT_TRUE(exists && size == 7 && noPath.getPath() == nullptr);
    EXPECT_EQ(File::toCanonicalPath(canonical), canonical);
}

// A path short enough to be copied inside File and a longer one copied by the runtime, ASCII or
// not, reach the same entry: repeated separators pad each path to lengths around that limit.
TEST(FileTest, AnswersAlikeForPathsOfEveryLength) {
    const ScratchTree tree;
    std::ofstream(tree.root() / "caf\xC3\xA9-\xF0\x9F\x98\x80") << "12345";
    const std::wstring root = tree.root().wstring();
    const struct {
        std::wstring name;
        std::string exists, size;
    } names[] = {{L"file", "0:true", "0:1234"},
                 {L"missing", "0:false", "-11009:"},
                 {L"file/below", "-11009:", "-11009:"},
                 {L"caf\u00E9-\U0001F600", "0:true", "0:5"}};
    constexpr std::size_t kLimit = PathCopy::INLINE_LENGTH;
    for (const auto& n : names) {
        for (const std::size_t length :
             {std::size_t{0}, kLimit - 2, kLimit - 1, kLimit, kLimit + 1, 3 * kLimit}) {
            const std::size_t bare = root.size() + 1 + n.name.size();
            const std::wstring path =
                root + std::wstring(1 + (length > bare ? length - bare : 0), L'/') + n.name;
            EXPECT_EQ(ask<FileExists>(L"absolutePath=" + path), n.exists) << path.size();
            EXPECT_EQ(ask<FileInfo>(L"absolutePath=" + path + L" field=size"), n.size)
                << path.size();
        }
    }
}
