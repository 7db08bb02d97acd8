#include "base/mountlist.h"

#include <string>

#include "platform/utf8.h"

// Until the table is read from the kernel it holds no entries and stays invalid, so every lookup
// answers empty texts.

namespace {

String wideOf(const std::string& text) {
    return String(platform::fromUtf8(text).c_str());
}

}  // namespace

mountlist::mountlist() : m_IsValid(false) {}

mountlist::~mountlist() = default;

std::int32_t mountlist::Initialize() {
    m_Entries.clear();
    m_IsValid = false;
    return -1;
}

std::int32_t mountlist::Initialize(const char* /*mountinfoPath*/) {
    m_Entries.clear();
    m_IsValid = false;
    return -1;
}

String mountlist::GetMountPath(const wchar_t* path) const {
    const Entry* entry = find(path);
    return entry == nullptr ? String() : wideOf(entry->mountPoint);
}

String mountlist::GetMountRemotePath(const wchar_t* path) const {
    const Entry* entry = find(path);
    return entry == nullptr ? String() : wideOf(entry->remotePath);
}

String mountlist::GetMountServer(const wchar_t* path) const {
    const Entry* entry = find(path);
    return entry == nullptr ? String() : wideOf(entry->server);
}

const mountlist::Entry* mountlist::find(const wchar_t* /*path*/) const {
    return nullptr;
}
