#pragma once

#include <fcntl.h>
#include <sys/stat.h>

namespace CorePlugin {

/// The status of `path`, symbolic links followed, zero-filled first: 0, or -1 with errno set.
/// A null path (a wide path without a multibyte form) fails with EILSEQ instead of reaching the
/// system.
int readStatus(const char* path, struct statx* status);

/// The same for a wide path, converted to UTF-8 first; a path without a UTF-8 form fails with
/// EILSEQ.
int readStatus(const wchar_t* path, struct statx* status);

}  // namespace CorePlugin
