#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/String.h"

/// The mount table: which mount holds a path, and where a network mount comes from.
class mountlist {
public:
    mountlist();
    ~mountlist();

    mountlist(const mountlist&) = delete;
    mountlist& operator=(const mountlist&) = delete;

    /// Reads the kernel's mount table of this process. Returns 0, or -1 when it could not be read.
    std::int32_t Initialize();
    /// Reads the table from a mountinfo file instead (tests use fixtures).
    std::int32_t Initialize(const char* mountinfoPath);

    /// The mount point, remote path and server of the mount holding `path`; empty texts when
    /// there is none or the table is not valid.
    String GetMountPath(const wchar_t* path) const;
    String GetMountRemotePath(const wchar_t* path) const;
    String GetMountServer(const wchar_t* path) const;

    /// Whether the table has been read; read directly by callers.
    bool m_IsValid;

    struct Entry {
        std::string mountPoint;
        std::string remotePath;
        std::string server;
    };

private:
    const Entry* find(const wchar_t* path) const;

    std::vector<Entry> m_Entries;
};
