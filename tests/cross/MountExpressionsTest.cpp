// What the mount cases cannot show: tables that cannot be read, symbolic links, the working
// directory, paths no rule can write, and this machine's table against findmnt.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/mountlist.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "harness/Harness.h"
#include "harness/ScratchTree.h"

using namespace CorePlugin;
namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(__FILE__).parent_path().parent_path() / "fixtures/mountinfo";

/// MountPath's answer for `path`, as "code:result".
std::wstring mountPath(const mountlist* table, const std::wstring& path) {
    const harness::Outcome outcome = harness::evaluate<MountPath>({{L"absolutePath", path}}, table);
    return std::to_wstring(outcome.code) + L":" + outcome.result;
}

/// The lines `command` prints.
std::vector<std::string> linesOf(const std::string& command) {
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (char line[4096]; pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr;) {
        lines.emplace_back(line, std::strcspn(line, "\n"));
    }
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return lines;
}

}  // namespace

// The expressions share one query: MountPath stands for all three.
TEST(MountExpressionsTest, TablesThatCannotBeReadFailAfterThePropertyCheck) {
    mountlist table;
    EXPECT_EQ(mountPath(nullptr, L"/"), L"-400:");
    EXPECT_EQ(harness::evaluate<MountPath>({}, nullptr).code, -11025);
    EXPECT_EQ(mountPath(&table, L"/"), L"-400:");
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
        // A path without a multibyte form has no answer.
        {{L'/', L'h', L'o', L'm', L'e', L'/', wchar_t(0xD800)}, L"0:"},
    };
    const fs::path previous = fs::current_path();
    fs::current_path(tree.root());
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(mountPath(&table, path), expected) << fs::path(path);
    }
    fs::current_path(previous);
    // Nor can the remote path fall back on it.
    EXPECT_EQ(
        harness::evaluate<MountRemotePath>({{L"absolutePath", cases[6].first}}, &table).result,
        L"");
    EXPECT_EQ(std::wstring(table.GetMountPath(nullptr).m_Text), L"");
}

TEST(MountExpressionsTest, AgreeWithFindmntOnThisMachine) {
    if (std::system("command -v findmnt >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "findmnt is not installed: nothing to compare with";
    }
    mountlist table;
    ASSERT_EQ(table.Initialize(), 0);
    std::vector<std::string> paths = linesOf("findmnt -rn -o TARGET");
    paths.insert(paths.end(), {"/etc/passwd", "/proc/self/status", "/dev/null", "/tmp",
                               fs::current_path().string()});
    int compared = 0;
    for (const std::string& path : paths) {
        // Targets findmnt escapes (blanks) name no path here, and quotes would need escaping.
        std::error_code ignored;
        if (path.find('\'') != std::string::npos || !fs::exists(path, ignored)) {
            continue;
        }
        const auto expected = linesOf("findmnt -rn -f -o TARGET -T '" + path + "' 2>/dev/null");
        if (expected.size() == 1 && fs::exists(expected[0], ignored)) {
            EXPECT_EQ(mountPath(&table, fs::path(path).wstring()),
                      L"0:" + fs::path(expected[0]).wstring())
                << path;
            ++compared;
        }
    }
    EXPECT_GE(compared, 5);
}
