#include "base/mountlist.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/TestSupport.h"

namespace {

const std::filesystem::path kFixtures =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "mountinfo";

std::wstring text(const String& answer) {
    return answer.m_Text;
}

// The mount path, remote path and server, joined by '|'.
std::wstring lookUp(const mountlist& table, const std::wstring& path) {
    return text(table.GetMountPath(path.c_str())) + L"|" +
           text(table.GetMountRemotePath(path.c_str())) + L"|" +
           text(table.GetMountServer(path.c_str()));
}

class MountListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(table.Initialize((kFixtures / "network.mountinfo").c_str()), 0);
        ASSERT_TRUE(table.m_IsValid);
    }
    mountlist table;
};

TEST_F(MountListFixture, PlacesPathsAndDescribesNetworkSources) {
    const struct {
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {L"/", L"/||"},
        {L"/no/such/dir", L"/||"},
        {L"/home", L"/home||"},
        {L"/home/", L"/home||"},
        {L"/home/bob/notes.txt", L"/home||"},
        {L"/home2/carol", L"/home2||"},
        {L"/homework", L"/||"},
        {L"/home/shared/a", L"/home/shared|/export/home|fileserver.example"},
        {L"/home/sharedx", L"/home||"},
        {L"/mnt/nfs/deep/er", L"/mnt/nfs|/volume1/data|nas"},
        {L"/mnt/v6", L"/mnt/v6|/srv/v6|fd00::10"},
        {L"/mnt/smb/q3.xls", L"/mnt/smb|/Public/Reports|winserver"},
        {L"/mnt/smb-root/x", L"/mnt/smb-root|/docs|filer"},
        {L"/mnt/ssh drive/src", L"/mnt/ssh drive|projects|build.example"},
        {L"/mnt/ssh", L"/||"},
        {L"/mnt/ssh-v6/index.html", L"/mnt/ssh-v6|/var/www|fd00::20"},
        // A bind mount is placed by where it is mounted, not by what it shows.
        {L"/srv/alice/f", L"/srv/alice||"},
        // Of mounts stacked on one point, the one on top answers, whichever the table lists
        // first.
        {L"/mnt/stack/f", L"/mnt/stack|/top|upper"},
        {L"/mnt/reversed/f", L"/mnt/reversed|/covering|upper"},
        // Sources that are not in their file system's form describe no remote side.
        {L"/mnt/bad-nfs/f", L"/mnt/bad-nfs||"},
        {L"/mnt/bad-smb/f", L"/mnt/bad-smb||"},
        {L"/media/caf\u00e9/photo", L"/media/caf\u00e9||"},
        // Dots and repeated separators are folded before the comparison.
        {L"//mnt//nfs/./x", L"/mnt/nfs|/volume1/data|nas"},
        {L"/mnt/nfs/../smb", L"/mnt/smb|/Public/Reports|winserver"},
        {L"/home/../../../home2", L"/home2||"},
        {L"/mnt/nfs/..", L"/||"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookUp(table, c.path), c.expected) << ::testing::PrintToString(c.path);
    }
}

TEST_F(MountListFixture, FollowsSymbolicLinksAsFarAsThePathExists) {
    platform_test::TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directory_symlink("/mnt/nfs/deep", dir.path() / "to-nfs");
    fs::create_directory_symlink("to-nfs/../../smb", dir.path() / "relative");
    fs::create_directory_symlink(dir.path() / "loop-b", dir.path() / "loop-a");
    fs::create_directory_symlink(dir.path() / "loop-a", dir.path() / "loop-b");
    const std::wstring base = dir.path().wstring();
    const struct {
        std::wstring path;
        std::wstring mountPath;
    } cases[] = {
        // A link whose target does not exist on this machine still leads into the table's
        // mount.
        {base + L"/to-nfs/file", L"/mnt/nfs"},
        {base + L"/relative/file", L"/mnt/smb"},
        {base + L"/to-nfs/../../smb", L"/mnt/smb"},
        // A loop ends the resolution instead of the lookup.
        {base + L"/loop-a/file", L"/"},
        // Below a missing component nothing more is resolved.
        {base + L"/missing/../to-nfs/file", L"/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(table.GetMountPath(c.path.c_str())), c.mountPath)
            << ::testing::PrintToString(c.path);
    }
}

TEST_F(MountListFixture, PathsWithoutAnAnswer) {
    const wchar_t unconvertible[] = {
        L'/', L'h', L'o', L'm', L'e', L'/', static_cast<wchar_t>(0xD800), L'\0'};
    for (const wchar_t* path : {static_cast<const wchar_t*>(nullptr), L"", unconvertible}) {
        EXPECT_EQ(text(table.GetMountPath(path)), L"");
        EXPECT_EQ(text(table.GetMountRemotePath(path)), L"");
        EXPECT_EQ(text(table.GetMountServer(path)), L"");
    }
}

TEST_F(MountListFixture, RelativePathsStartAtTheWorkingDirectory) {
    platform_test::TempDir dir;
    std::filesystem::create_directory_symlink("/mnt/smb", dir.path() / "share");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::wstring relative = lookUp(table, L"share/sub");
    const std::wstring dot = lookUp(table, L".");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, L"/mnt/smb|/Public/Reports|winserver");
    EXPECT_EQ(dot, lookUp(table, dir.path().wstring()));
}

TEST(MountList, UnreadTablesAreInvalidAndAnswerNothing) {
    mountlist fresh;
    EXPECT_FALSE(fresh.m_IsValid);
    EXPECT_EQ(lookUp(fresh, L"/"), L"||");

    mountlist table;
    ASSERT_EQ(table.Initialize((kFixtures / "network.mountinfo").c_str()), 0);
    for (const std::filesystem::path& path :
         {kFixtures / "missing.mountinfo", kFixtures / "empty.mountinfo",
          kFixtures / "garbage.mountinfo", kFixtures}) {
        EXPECT_EQ(table.Initialize(path.c_str()), -1) << path;
        EXPECT_FALSE(table.m_IsValid);
        EXPECT_EQ(lookUp(table, L"/mnt/nfs/x"), L"||") << path;
    }
    EXPECT_EQ(table.Initialize(nullptr), -1);
    EXPECT_FALSE(table.m_IsValid);
}

// The lines `command` prints, with the \xHH escapes of findmnt's raw mode undone.
std::vector<std::string> runLines(const std::string& command) {
    std::string raw;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;) {
            raw += static_cast<char>(c);
        }
        ::pclose(pipe);
    }
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            line += static_cast<char>(std::stoi(raw.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            line += raw[i];
        }
    }
    return lines;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

TEST(MountList, AgreesWithFindmntOnThisMachine) {
    if (std::system("command -v findmnt >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "findmnt is not installed: nothing to compare with";
    }
    mountlist table;
    ASSERT_EQ(table.Initialize(), 0);
    ASSERT_TRUE(table.m_IsValid);

    std::vector<std::string> paths = {"/",         "/etc/passwd",
                                      "/tmp",      "/proc/self/status",
                                      "/dev/null", std::filesystem::current_path().string()};
    for (const std::string& target : runLines("findmnt -rn -o TARGET")) {
        paths.push_back(target);
        paths.push_back(target + "/.");
    }
    int compared = 0;
    for (const std::string& path : paths) {
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored)) {
            continue;
        }
        const std::vector<std::string> expected =
            runLines("findmnt -rn -f -o TARGET -T " + shellQuoted(path) + " 2>/dev/null");
        if (expected.size() != 1) {
            continue;
        }
        const std::wstring widePath = std::filesystem::path(path).wstring();
        EXPECT_EQ(text(table.GetMountPath(widePath.c_str())),
                  std::filesystem::path(expected.front()).wstring())
            << path;
        ++compared;
    }
    EXPECT_GE(compared, 5);
}

}  // namespace
