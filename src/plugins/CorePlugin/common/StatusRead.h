#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include "common/PathCopy.h"

namespace CorePlugin {

/// The status of `path`, symbolic links followed: 0, or -1 with errno set. The system writes the
/// whole of `status` on success only, so callers read it only after a 0. A null path (a wide
/// path without a multibyte form) fails with EILSEQ instead of reaching the system.
int readStatus(const char* path, struct statx* status);

/// The same for a wide path, converted to UTF-8 first; a path without a UTF-8 form fails with
/// EILSEQ.
int readStatus(const wchar_t* path, struct statx* status);

/// The same for a copied path, through its narrow form when it has one.
inline int readStatus(const PathCopy& path, struct statx* status) {
    return path.narrow() != nullptr ? readStatus(path.narrow(), status)
                                    : readStatus(path.get(), status);
}

}  // namespace CorePlugin
