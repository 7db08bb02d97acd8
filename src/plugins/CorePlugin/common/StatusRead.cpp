#include "common/StatusRead.h"

#include <cerrno>

namespace CorePlugin {

int readStatus(const char* path, struct statx* status) {
    *status = {};
    if (path == nullptr) {
        errno = EILSEQ;
        return -1;
    }
    return ::statx(AT_FDCWD, path, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS, status);
}

}  // namespace CorePlugin
