#include "common/Path.h"

#include <cerrno>

#include "PluginSDK/ResultCodes.h"
#include "base/runtime.h"
#include "common/StatusRead.h"

namespace CorePlugin {

Path::Path(const wchar_t* path) : m_Path(i_wcsdup(path)) {}

Path::~Path() {
    zovm_free(m_Path);
}

std::int32_t Path::exists(bool* exists) const {
    if (exists == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (m_Path == nullptr) {
        return PluginSDK::RC_PATH_NO_PATH;
    }
    char* path = i_wcstombs(m_Path);
    struct statx status;
    std::int32_t code = PluginSDK::RC_SUCCESS;
    if (readStatus(path, &status) == 0) {
        *exists = (status.stx_mode & PATH) != 0;
    } else if (errno == ENOENT) {
        *exists = false;
    } else {
        code = PluginSDK::RC_FILE_STATUS_FAILED;
    }
    zovm_free(path);
    return code;
}

}  // namespace CorePlugin
