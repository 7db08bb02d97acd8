#include "common/Path.h"

#include <cerrno>

#include "PluginSDK/ResultCodes.h"
#include "common/StatusRead.h"

namespace CorePlugin {

Path::Path(const wchar_t* path) : m_Path(path) {}

Path::~Path() = default;

std::int32_t Path::exists(bool* exists) const {
    if (exists == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (m_Path.get() == nullptr) {
        return PluginSDK::RC_PATH_NO_PATH;
    }
    struct statx status;
    std::int32_t code = PluginSDK::RC_SUCCESS;
    if (readStatus(m_Path, &status) == 0) {
        *exists = (status.stx_mode & PATH) != 0;
    } else if (errno == ENOENT) {
        *exists = false;
    } else {
        code = PluginSDK::RC_FILE_STATUS_FAILED;
    }
    return code;
}

}  // namespace CorePlugin
