#pragma once

// Shared by the tests of the system probes: a temporary tree with one entry of each kind the
// probes meet, the status stat(2) reports for them, and a way to evaluate as an ordinary user.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "harness/Harness.h"
#include "platform/ChildProcess.h"
#include "platform/TestSupport.h"

namespace probe {

namespace fs = std::filesystem;

/// The code and the result of an outcome as one text, "code:result", so a table of cases and a
/// child process can both carry it.
inline std::string describe(const harness::Outcome& outcome) {
    std::string text = std::to_string(outcome.code) + ":";
    for (wchar_t c : outcome.result) {
        text += static_cast<char>(c < 0x80 ? c : '?');
    }
    return text;
}

/// A temporary directory holding:
///   file (1234 bytes), empty, dir/, link-to-file, link-to-dir, dangling, loop-a <-> loop-b,
///   fifo, socket (a bound UNIX socket), locked/ (mode 0700 or less, holding file).
/// The tree itself may be searched by anyone, so an ordinary user meets only locked/'s lock.
class Tree {
public:
    Tree() {
        fs::permissions(root(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        std::ofstream(root() / "file") << std::string(1234, 'x');
        std::ofstream(root() / "empty");
        fs::create_directory(root() / "dir");
        fs::create_symlink(root() / "file", root() / "link-to-file");
        fs::create_directory_symlink("dir", root() / "link-to-dir");
        fs::create_symlink(root() / "nowhere", root() / "dangling");
        fs::create_symlink("loop-b", root() / "loop-a");
        fs::create_symlink("loop-a", root() / "loop-b");
        ::mkfifo((root() / "fifo").c_str(), 0644);
        m_Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        (root() / "socket").string().copy(address.sun_path, sizeof address.sun_path - 1);
        ::bind(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        fs::create_directory(root() / "locked");
        std::ofstream(root() / "locked" / "file") << "hidden";
        fs::permissions(root() / "locked" / "file", fs::perms::all);
        // Root keeps the right to search it; ordinary users, the owner included, lose it.
        fs::permissions(root() / "locked",
                        ::geteuid() == 0 ? fs::perms::owner_all : fs::perms::owner_read);
    }
    ~Tree() {
        ::close(m_Socket);
        std::error_code ignored;
        fs::permissions(root() / "locked", fs::perms::owner_all, ignored);
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    const fs::path& root() const { return m_Directory.path(); }

    /// The wide path of an entry of the tree.
    std::wstring operator[](const std::string& name) const { return (root() / name).wstring(); }

private:
    platform_test::TempDir m_Directory;
    int m_Socket = -1;
};

/// What stat(2) reports for `path`, links followed; nothing when it fails.
inline std::optional<struct stat> statOf(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return status;
}

/// The first block device under /dev, if the machine shows one.
inline std::optional<fs::path> blockDevice() {
    std::error_code error;
    for (fs::directory_iterator entry("/dev", error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_block_file(error)) {
            return entry->path();
        }
    }
    return std::nullopt;
}

/// Runs a command of this machine's tools (the ILP32 build's own calls could not set 64-bit
/// times or sizes); true when it succeeded.
inline bool runTool(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

/// Evaluates a fresh `T` with `properties` in a child process run as an ordinary user.
template <class T>
std::string describeUnprivileged(const harness::Properties& properties) {
    return platform_test::ChildProcess::run(
        [&] { return describe(harness::evaluate<T>(properties)); }, true);
}

/// Skips the calling test, visibly, when permissions cannot be shown.
#define PROBE_REQUIRE_UNPRIVILEGED_USER()                                                    \
    if (!platform_test::ChildProcess::runsUnprivileged()) {                                  \
        GTEST_SKIP() << "running as root without a way to become another user: permissions " \
                        "cannot be shown";                                                   \
    }

}  // namespace probe
