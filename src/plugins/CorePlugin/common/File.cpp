#include "common/File.h"

#include <cerrno>
#include <utility>

#include "PluginSDK/ResultCodes.h"
#include "common/StatusRead.h"

namespace CorePlugin {

namespace {

template <class Number>
bool narrow(Number number, std::uint32_t& value) {
    if (!std::in_range<std::uint32_t>(number)) {
        return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool sizeOf(const struct statx& status, std::uint32_t& value) {
    return narrow(status.stx_size, value);
}

bool changeTimeOf(const struct statx& status, std::uint32_t& value) {
    return narrow(status.stx_ctime.tv_sec, value);
}

bool accessTimeOf(const struct statx& status, std::uint32_t& value) {
    return narrow(status.stx_atime.tv_sec, value);
}

bool modificationTimeOf(const struct statx& status, std::uint32_t& value) {
    return narrow(status.stx_mtime.tv_sec, value);
}

bool inodeOf(const struct statx& status, std::uint32_t& value) {
    return narrow(status.stx_ino, value);
}

}  // namespace

File::File(const wchar_t* path) : m_Path(path) {
    // A no-op here, which also leaves the narrow form of the copy as it is.
    toCanonicalPath(m_Path.get());
}

File::~File() = default;

wchar_t* File::toCanonicalPath(wchar_t* path) {
    // The platform's only separator is the canonical one: nothing to rewrite.
    return path;
}

int File::fstat(struct statx* status) const {
    return readStatus(m_Path, status);
}

std::int32_t File::exists(bool* exists) const {
    if (exists == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (m_Path.get() == nullptr) {
        return PluginSDK::RC_FILE_NO_PATH;
    }
    struct statx status;
    if (fstat(&status) != 0) {
        if (errno != ENOENT) {
            return PluginSDK::RC_FILE_STATUS_FAILED;
        }
        *exists = false;
        return PluginSDK::RC_SUCCESS;
    }
    *exists = (status.stx_mode & REGULAR_FILE) != 0;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t File::size(std::uint32_t* size) const {
    return readField(size, sizeOf);
}

std::int32_t File::getCTime(std::uint32_t* ctime) const {
    return readField(ctime, changeTimeOf);
}

std::int32_t File::getATime(std::uint32_t* atime) const {
    return readField(atime, accessTimeOf);
}

std::int32_t File::getMTime(std::uint32_t* mtime) const {
    return readField(mtime, modificationTimeOf);
}

std::int32_t File::getINode(std::uint32_t* inode) const {
    return readField(inode, inodeOf);
}

std::int32_t File::readField(std::uint32_t* value, Field field) const {
    if (value == nullptr) {
        return PluginSDK::RC_INVALID_ARGUMENT;
    }
    if (m_Path.get() == nullptr) {
        return PluginSDK::RC_FILE_NO_PATH;
    }
    struct statx status;
    if (fstat(&status) != 0) {
        return PluginSDK::RC_FILE_STATUS_FAILED;
    }
    if ((status.stx_mode & REGULAR_FILE) == 0) {
        return PluginSDK::RC_NOT_A_REGULAR_FILE;
    }
    // The original 32-bit platform's stat fails with EOVERFLOW here; a cut value would be a
    // wrong answer.
    std::uint32_t narrowed = 0;
    if (!field(status, narrowed)) {
        return PluginSDK::RC_FILE_STATUS_FAILED;
    }
    *value = narrowed;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
