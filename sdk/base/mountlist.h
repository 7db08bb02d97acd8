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
    /// Reads the table from a mountinfo file instead (tests use fixtures). A file that cannot be
    /// read, or that holds no mount, leaves the table invalid and returns -1.
    std::int32_t Initialize(const char* mountinfoPath);

    /// The mount point, remote path and server of the mount holding `path`; empty texts when
    /// there is none or the table is not valid. The mount holding a path is the one whose mount
    /// point is the longest prefix, at a component boundary, of the path made absolute (against
    /// the working directory) with its symbolic links resolved as far as it exists; of mounts
    /// stacked on one mount point, the one on top. Remote path and server come from the source
    /// of NFS ("server:/export"), CIFS/SMB ("//server/share/dir" gives "/share/dir") and sshfs
    /// ("user@host:path" gives "host") mounts; a bracketed IPv6 server loses its brackets.
    String GetMountPath(const wchar_t* path) const;
    String GetMountRemotePath(const wchar_t* path) const;
    String GetMountServer(const wchar_t* path) const;

    /// Whether the table has been read; read directly by callers.
    bool m_IsValid;

    struct Entry {
        std::string mountPoint;
        std::string remotePath;
        std::string server;
        int id = 0;        // the mount's identifier in the table
        int parentId = 0;  // the identifier of the mount it sits on
    };

private:
    const Entry* find(const wchar_t* path) const;

    std::vector<Entry> m_Entries;
};
