#include "common/StatusRead.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "base/runtime.h"

namespace CorePlugin {

int readStatus(const char* path, struct statx* status) {
    if (path == nullptr) {
        errno = EILSEQ;
        return -1;
    }
    return ::statx(AT_FDCWD, path, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS, status);
}

int readStatus(const wchar_t* path, struct statx* status) {
    // Most paths are ASCII, which is its own UTF-8 form: narrowed on the stack, they reach the
    // system without an allocation. Anything else is converted by the runtime.
    char narrow[256];
    if (path != nullptr) {
        for (std::size_t i = 0; i < sizeof narrow; ++i) {
            const auto c = static_cast<std::uint32_t>(path[i]);
            if (c == 0) {
                narrow[i] = '\0';
                return readStatus(narrow, status);
            }
            if (c >= 0x80) {
                break;
            }
            narrow[i] = static_cast<char>(c);
        }
    }
    char* converted = i_wcstombs(path);
    const int result = readStatus(converted, status);
    const int error = errno;
    zovm_free(converted);
    errno = error;
    return result;
}

}  // namespace CorePlugin
