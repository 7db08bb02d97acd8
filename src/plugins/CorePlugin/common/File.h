#pragma once

#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>

#include "common/PathCopy.h"

namespace CorePlugin {

/// Looks at a path as a regular file: whether it is one, and its size, times and inode number.
class File {
public:
    static constexpr wchar_t CANONICAL_PATH_SEPARATOR = L'/';
    /// The mode bit of a regular file. Only this bit is tested, so a socket counts as one too.
    static constexpr std::uint32_t REGULAR_FILE = 0x8000;

    explicit File(const wchar_t* path);  // null stays null
    virtual ~File();

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const wchar_t* getPath() const { return m_Path.get(); }

    /// Rewrites the separators of `path` in place to CANONICAL_PATH_SEPARATOR and returns it.
    static wchar_t* toCanonicalPath(wchar_t* path);

    /// The status of the path, symbolic links followed: 0, or -1 with errno set. statx hands out
    /// 64-bit sizes, times and inode numbers in every build, where the 32-bit build's struct stat
    /// would fail with EOVERFLOW before a field could be checked. A path without a multibyte
    /// form fails with EILSEQ.
    int fstat(struct statx* status) const;

    // Each returns 0 and writes the out-value, or a code and leaves it alone: -101 for a null
    // out-pointer, -11012 without a path, -11009 when the status cannot be read. The values
    // also give -11013 for anything without the regular-file bit, and -11009 for a number that
    // does not fit in 32 bits (a time before 1970 included) rather than a cut one.
    std::int32_t exists(bool* exists) const;
    std::int32_t size(std::uint32_t* size) const;
    std::int32_t getCTime(std::uint32_t* ctime) const;
    std::int32_t getATime(std::uint32_t* atime) const;
    std::int32_t getMTime(std::uint32_t* mtime) const;
    std::int32_t getINode(std::uint32_t* inode) const;

private:
    using Field = bool (*)(const struct statx& status, std::uint32_t& value);
    std::int32_t readField(std::uint32_t* value, Field field) const;

    PathCopy m_Path;
};

}  // namespace CorePlugin
