#pragma once

// A temporary tree with one entry of each kind the file probes meet.

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/TestSupport.h"

/// A temporary directory holding:
///   file (1234 bytes), empty, ctl-U+0080 (a name beyond ASCII), dir/, link-to-file, link-to-dir,
///   dangling, loop-a <-> loop-b, fifo, socket (a bound UNIX socket), locked/ (mode 0700 or less,
///   holding file).
/// The tree itself may be searched by anyone, so an ordinary user meets only locked/'s lock.
class ScratchTree {
public:
    ScratchTree() {
        namespace fs = std::filesystem;
        fs::permissions(root(),
                        fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        std::ofstream(root() / "file") << std::string(1234, 'x');
        std::ofstream(root() / "empty");
        std::ofstream(root() / "ctl-\u0080");
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
    ~ScratchTree() {
        ::close(m_Socket);
        std::error_code ignored;
        std::filesystem::permissions(root() / "locked", std::filesystem::perms::owner_all, ignored);
    }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    const std::filesystem::path& root() const { return m_Directory.path(); }

    /// The wide path of an entry of the tree.
    std::wstring operator[](const std::string& name) const { return (root() / name).wstring(); }

private:
    platform_test::TempDir m_Directory;
    int m_Socket = -1;
};
