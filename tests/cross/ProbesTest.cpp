// What the file and mount cases cannot show: answers that differ from one machine to the next
// (inode numbers, times, this machine's mounts against findmnt), an ordinary user, values beyond
// 32 bits, symbolic links and the working directory, paths no rule can write, tables that cannot
// be read, and File's own checks.

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "base/mountlist.h"
#include "common/File.h"
#include "common/Path.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/PathExists.h"
#include "harness/Harness.h"
#include "harness/ScratchTree.h"
#include "platform/ChildProcess.h"
#include "platform/TestSupport.h"

using namespace CorePlugin;
using platform_test::ChildProcess;
namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(__FILE__).parent_path().parent_path() / "fixtures/mountinfo";

/// The answer of a new T with `properties` ("name=value ..."), as "code:result".
template <class T>
std::string ask(const std::wstring& properties) {
    const harness::Outcome outcome = harness::evaluate<T>(harness::parse(properties));
    return std::to_string(outcome.code) + ":" +
           std::string(outcome.result.begin(), outcome.result.end());
}

/// MountPath's answer for `path`, as "code:result".
std::wstring mountPath(const mountlist* table, const std::wstring& path) {
    const harness::Outcome outcome = harness::evaluate<MountPath>({{L"absolutePath", path}}, table);
    return std::to_wstring(outcome.code) + L":" + outcome.result;
}

}  // namespace

TEST(FileTest, NullArgumentsAndPathsWithoutAUtf8Form) {
    const File noPath(nullptr);
    bool exists = true;
    std::uint32_t size = 7;
    EXPECT_EQ(noPath.exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(noPath.size(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(Path(nullptr).exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(noPath.exists(&exists), PluginSDK::RC_FILE_NO_PATH);
    EXPECT_EQ(noPath.size(&size), PluginSDK::RC_FILE_NO_PATH);
    EXPECT_EQ(Path(nullptr).exists(&exists), PluginSDK::RC_PATH_NO_PATH);
    EXPECT_TRUE(exists && size == 7);
    EXPECT_EQ(
        ask<FileExists>(L"absolutePath=/\x110000") + ask<PathExists>(L"absolutePath=/\x110000"),
        "-11009:-11009:");
}

// A directory the user may not search fails the probes; an INI file the user may not read
// answers like a missing key.
TEST(FileProbesTest, AnOrdinaryUserMeetsPermissions) {
    if (!ChildProcess::runsUnprivileged()) {
        GTEST_SKIP() << "running as root without a way to become another user";
    }
    const ScratchTree tree;
    std::ofstream(tree.root() / "private.ini") << "[s]\nk=v\n";
    fs::permissions(tree.root() / "private.ini", fs::perms::none);
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
        EXPECT_EQ(ask<IniFileKeyValue>(L"file=" + tree["file"] + L" section=s key=k"), c.ini);
    }
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

// The expressions share one query: MountPath stands for all three.
TEST(MountExpressionsTest, TablesThatCannotBeReadFailAfterThePropertyCheck) {
    mountlist table;
    EXPECT_EQ(mountPath(nullptr, L"/") + mountPath(&table, L"/"), L"-400:-400:");
    EXPECT_EQ(harness::evaluate<MountPath>({}, nullptr).code, -11025);
    EXPECT_EQ(std::wstring(table.GetMountPath(L"/").m_Text), L"");
    for (const fs::path& path : {kFixtures / "missing.mountinfo", kFixtures / "empty.mountinfo",
                                 kFixtures / "garbage.mountinfo", kFixtures}) {
        ASSERT_EQ(table.Initialize((kFixtures / "network.mountinfo").c_str()), 0);
        EXPECT_EQ(table.Initialize(path.c_str()), -1) << path;
        EXPECT_EQ(mountPath(&table, L"/mnt/nfs/x"), L"-400:") << path;
    }
    EXPECT_EQ(table.Initialize(nullptr), -1);
    EXPECT_FALSE(table.m_IsValid);
}

TEST(MountExpressionsTest, PathsResolveAsFarAsTheyExist) {
    mountlist table;
    ASSERT_EQ(table.Initialize((kFixtures / "network.mountinfo").c_str()), 0);
    const ScratchTree tree;
    fs::create_directory_symlink("/mnt/nfs/deep", tree.root() / "to-nfs");
    fs::create_directory_symlink("to-nfs/../../smb", tree.root() / "relative");
    const std::wstring base = tree.root().wstring();
    const std::wstring noUtf8Form = {L'/', L'h', L'o', L'm', L'e', L'/', wchar_t(0xD800)};
    const std::pair<std::wstring, std::wstring> cases[] = {
        // A link whose target does not exist on this machine still leads into the table's mount.
        {base + L"/to-nfs/file", L"0:/mnt/nfs"},
        {base + L"/relative/file", L"0:/mnt/smb"},
        {base + L"/to-nfs/../../smb", L"0:/mnt/smb"},
        // A loop ends the resolution instead of the lookup.
        {base + L"/loop-a/file", L"0:/"},
        // Below a missing component nothing more is resolved.
        {base + L"/missing/../to-nfs/file", L"0:/"},
        // A relative path starts at the working directory.
        {L"to-nfs/x", L"0:/mnt/nfs"},
        {noUtf8Form, L"0:"},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(tree.root());
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(mountPath(&table, path), expected) << fs::path(path);
    }
    fs::current_path(previous);
    // Nor can the remote path fall back on a path without a multibyte form.
    EXPECT_EQ(harness::evaluate<MountRemotePath>({{L"absolutePath", noUtf8Form}}, &table).result,
              L"");
    EXPECT_EQ(std::wstring(table.GetMountPath(nullptr).m_Text), L"");
}

TEST(MountExpressionsTest, AgreeWithFindmntOnThisMachine) {
    if (std::system("command -v findmnt >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "findmnt is not installed: nothing to compare with";
    }
    mountlist table;
    ASSERT_EQ(table.Initialize(), 0);
    std::string paths = platform_test::runCommand("findmnt -rn -o TARGET").out;
    paths += "/etc/passwd\n/proc/self/status\n/dev/null\n/tmp\n" + fs::current_path().string();
    int compared = 0;
    std::istringstream lines(paths);
    for (std::string path; std::getline(lines, path);) {
        // Targets findmnt escapes (blanks) name no path here, and quotes would need escaping.
        std::error_code ignored;
        if (path.find('\'') != std::string::npos || !fs::exists(path, ignored)) {
            continue;
        }
        std::string expected =
            platform_test::runCommand("findmnt -rn -f -o TARGET -T '" + path + "' 2>/dev/null").out;
        if (!expected.empty() && expected.back() == '\n') {
            expected.pop_back();
        }
        if (expected.find('\n') == std::string::npos && fs::exists(expected, ignored)) {
            EXPECT_EQ(mountPath(&table, fs::path(path).wstring()),
                      L"0:" + fs::path(expected).wstring())
                << path;
            ++compared;
        }
    }
    EXPECT_GE(compared, 5);
}
