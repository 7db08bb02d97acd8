#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/TestSupport.h"

/// A temporary directory with one entry of each kind the file probes meet:
///   file (1234 bytes), empty, ctl-U+0080 (a name beyond ASCII), dir/, link-to-file, link-to-dir,
///   dangling, loop-a <-> loop-b, fifo, socket, locked/ (mode 0700 or less, holding file).
/// The tree itself may be searched by anyone, so an ordinary user meets only locked/'s lock.
class ScratchTree {
public:
    ScratchTree() {
        namespace fs = std::filesystem;
        const fs::path& at = root();
        fs::permissions(at, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        std::ofstream(at / "file") << std::string(1234, 'x');
        std::ofstream(at / "empty");
        std::ofstream(at / "ctl-\u0080");
        fs::create_directory(at / "dir");
        fs::create_symlink(at / "file", at / "link-to-file");
        fs::create_directory_symlink("dir", at / "link-to-dir");
        fs::create_symlink(at / "nowhere", at / "dangling");
        fs::create_symlink("loop-b", at / "loop-a");
        fs::create_symlink("loop-a", at / "loop-b");
        ::mkfifo((at / "fifo").c_str(), 0644);
        ::mknod((at / "socket").c_str(), S_IFSOCK | 0644, 0);
        fs::create_directory(at / "locked");
        std::ofstream(at / "locked" / "file") << "hidden";
        fs::permissions(at / "locked" / "file", fs::perms::all);
        // Root keeps the right to search it; ordinary users, the owner included, lose it.
        fs::permissions(at / "locked",
                        ::geteuid() == 0 ? fs::perms::owner_all : fs::perms::owner_read);
    }
    ~ScratchTree() {
        std::error_code ignored;
        std::filesystem::permissions(root() / "locked", std::filesystem::perms::owner_all, ignored);
    }

    const std::filesystem::path& root() const { return m_Directory.path(); }

    std::wstring operator[](const std::string& name) const { return (root() / name).wstring(); }

private:
    platform_test::TempDir m_Directory;
};
