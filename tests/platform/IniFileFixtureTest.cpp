#include "PluginSDK/IniFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/ChildProcess.h"
#include "platform/TestSupport.h"
#include "platform/utf8.h"

// The reader as the INI expressions use it: constructed on a path, every case of it under a
// timeout, since a reader that opens the wrong kind of file hangs instead of failing.

namespace {

namespace fs = std::filesystem;
using platform_test::ChildProcess;
using PluginSDK::IniFileReader;

const fs::path kFixtures = fs::path(__FILE__).parent_path().parent_path() / "fixtures" / "ini";

// "invalid", or the value of section/key ("<absent>" when the key is not there).
std::string readThrough(const fs::path& path, const std::wstring& section = L"s",
                        const std::wstring& key = L"k") {
    IniFileReader reader(path.wstring().c_str());
    if (!reader.m_IsValid) {
        return "invalid";
    }
    std::wstring value;
    if (!reader.getProperty(section, key, value)) {
        return "<absent>";
    }
    std::string encoded;
    platform::toUtf8(value, encoded);
    return encoded;
}

std::string readInChild(const fs::path& path, bool unprivileged = false) {
    return ChildProcess::run([&] { return readThrough(path); }, unprivileged);
}

TEST(IniFileFixture, ReadsEverySyntaxRuleFromAFile) {
    const fs::path file = kFixtures / "syntax.ini";
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        std::string expected;
    } cases[] = {
        {L"", L"top", "before any header"},
        {L"general", L"NAME", "CorePlugin"},
        {L"General", L"padded", "value with blanks"},
        {L"General", L"quoted", " kept blanks "},
        {L"General", L"single", "single"},
        {L"General", L"mismatched", "\"half'"},
        {L"General", L"empty", ""},
        {L"General", L"equation", "a=b"},
        {L"General", L"# hash", "<absent>"},
        {L"General", L"hash", "<absent>"},
        {L"General", L"; semicolon", "<absent>"},
        {L"General", L"semicolon", "<absent>"},
        {L"General", L"no equals sign here", "<absent>"},
        {L"General", L"", "<absent>"},
        {L"General", L"caf\u00e9", "cr\u00e8me"},
        {L"GENERAL", L"extra", "from the reopened section"},
        {L"other section", L"Name", "other"},
        {L"Other Section", L"after", "below a broken header"},
        {L"Other Section", L"last", "no line end"},
        {L"General", L"after", "<absent>"},
        {L"", L"name", "<absent>"},
        {L"Missing", L"name", "<absent>"},
    };
    const std::string answers = ChildProcess::run([&] {
        std::string all;
        for (const auto& c : cases) {
            all += readThrough(file, c.section, c.key) + "\n";
        }
        return all;
    });
    std::string expected;
    for (const auto& c : cases) {
        expected += c.expected + "\n";
    }
    EXPECT_EQ(answers, expected);
}

TEST(IniFileFixture, OtherKindsOfFileCannotBeReadAndNeverBlock) {
    platform_test::TempDir dir;
    const fs::path fifo = dir.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path busyFifo = dir.path() / "busy-fifo";
    ASSERT_EQ(::mkfifo(busyFifo.c_str(), 0600), 0);
    // With a writer that never writes, a blocking read of this FIFO would wait for ever.
    const int writer = ::open(busyFifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    fs::create_symlink(fifo, dir.path() / "link-to-fifo");
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");
    const fs::path socketPath = dir.path() / "socket";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    std::vector<fs::path> paths = {fifo,        busyFifo,    dir.path() / "link-to-fifo",
                                   socketPath,  dir.path(),  dir.path() / "dangling",
                                   "/dev/null", "/dev/zero", dir.path() / "missing.ini"};
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev")) {
        std::error_code ignored;
        if (entry.is_block_file(ignored)) {
            paths.push_back(entry.path());
            break;
        }
    }
    for (const fs::path& path : paths) {
        EXPECT_EQ(readInChild(path), "invalid") << path;
    }
    ::close(writer);
    ::close(listener);
}

// The file is read a block of 64 KiB at a time: lines, names, blanks and values that cross a
// block's end, or are longer than a block, read as they do from the text given whole.
TEST(IniFileFixture, LinesAcrossBlocksReadAsFromTheWholeText) {
    constexpr std::size_t kBlock = 65536;
    const std::string blanks(kBlock + 3, ' ');
    std::string content = "[s]\n";
    std::vector<std::string> keys;
    for (std::size_t shift : {0, 1, 2, 3, 5, 9}) {
        const std::string key = "k" + std::to_string(shift);
        keys.push_back(key);
        // A comment longer than a block, after which this pair starts `shift` bytes before a
        // block's start.
        const std::size_t start = content.size() + 2;
        content += ";" + std::string((kBlock - (start + shift) % kBlock) % kBlock + kBlock, 'x');
        content += "\n" + key + " = v" + key + "\n";
        content += "[ t" + key + " ]" + blanks + "\n" + key + "=" + blanks + "'long " + blanks +
                   "value'" + blanks + "\n[s]\n";
    }
    platform_test::TempDir dir;
    const fs::path file = dir.path() / "blocks.ini";
    std::ofstream(file, std::ios::binary) << content;
    IniFileReader text(nullptr);
    text.parse(content);
    for (const std::string& key : keys) {
        const std::wstring wideKey(key.begin(), key.end());
        for (const std::wstring& section : {std::wstring(L"s"), L"t" + wideKey}) {
            std::wstring fromText;
            ASSERT_TRUE(text.getProperty(section, wideKey, fromText));
            std::string expected;
            platform::toUtf8(fromText, expected);
            EXPECT_EQ(expected.substr(0, 5), section == L"s" ? "v" + key : "long ");
            EXPECT_EQ(readThrough(file, section, wideKey), expected) << key;
        }
    }
}

// Sparse files far larger than memory: whatever lies before the key is read through, not kept;
// beyond 4 GiB a file is refused.
TEST(IniFileFixture, OversizedFilesCannotBeRead) {
    platform_test::TempDir dir;
    const std::pair<std::uintmax_t, const char*> cases[] = {
        {std::uintmax_t{4} << 30, "v"},
        {(std::uintmax_t{4} << 30) + 1, "invalid"},
        {std::uintmax_t{1} << 40, "invalid"}};
    for (const auto& [size, expected] : cases) {
        const fs::path file = dir.path() / (std::to_string(size) + ".ini");
        std::ofstream(file) << "[s]\nk=v\n";
        std::error_code unsupported;
        fs::resize_file(file, size, unsupported);
        if (unsupported) {
            GTEST_SKIP() << "this file system holds no sparse file of " << size << " bytes";
        }
        EXPECT_EQ(readInChild(file), expected) << size;
    }
}

TEST(IniFileFixture, FilesTheUserMayNotReadCannotBeRead) {
    if (!ChildProcess::runsUnprivileged()) {
        GTEST_SKIP() << "running as root without a way to become another user";
    }
    platform_test::TempDir dir;
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::perms all = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const auto& [perms, expected] :
         {std::pair(all, "v"), std::pair(fs::perms::none, "invalid")}) {
        const fs::path file = dir.path() / (expected + std::string(".ini"));
        std::ofstream(file) << "[s]\nk=v\n";
        fs::permissions(file, perms);
        EXPECT_EQ(readInChild(file, true), expected);
    }
}

}  // namespace
