#include "base/mountlist.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include <libmount.h>
#include <unistd.h>

#include "platform/utf8.h"

namespace {

constexpr char kOwnMountTable[] = "/proc/self/mountinfo";

// The limit of the kernel's own path resolution; a path that needs more links is a loop.
constexpr int kMaxSymbolicLinks = 40;

String wideOf(const std::string& text) {
    return String(platform::fromUtf8(text).c_str());
}

bool isOneOf(std::string_view text, std::initializer_list<std::string_view> choices) {
    for (std::string_view choice : choices) {
        if (text == choice) {
            return true;
        }
    }
    return false;
}

// Splits "host:rest" or "[address]:rest" at the colon that ends the host. The host must not be
// empty; the brackets of an IPv6 address are not part of the server's name.
bool splitHost(std::string_view text, std::string& host, std::string& rest) {
    std::size_t colon = 0;
    if (!text.empty() && text.front() == '[') {
        const std::size_t closing = text.find(']');
        if (closing == std::string_view::npos || closing + 1 >= text.size() ||
            text[closing + 1] != ':') {
            return false;
        }
        host = text.substr(1, closing - 1);
        colon = closing + 1;
    } else {
        colon = text.find(':');
        if (colon == std::string_view::npos) {
            return false;
        }
        host = text.substr(0, colon);
    }
    if (host.empty()) {
        return false;
    }
    rest = text.substr(colon + 1);
    return true;
}

// A source that does not have its file system's form leaves both texts empty: the mount then
// answers like a local one.
void describeSource(std::string_view type, std::string_view source, mountlist::Entry& entry) {
    std::string server;
    std::string remotePath;
    if (isOneOf(type, {"nfs", "nfs4"})) {
        if (!splitHost(source, server, remotePath)) {
            return;
        }
    } else if (isOneOf(type, {"cifs", "smb3", "smbfs"})) {
        std::string unc(source);
        for (char& c : unc) {
            if (c == '\\') {
                c = '/';
            }
        }
        if (unc.size() < 3 || unc.compare(0, 2, "//") != 0 || unc[2] == '/') {
            return;
        }
        const std::size_t shareStart = unc.find('/', 2);
        server =
            unc.substr(2, shareStart == std::string::npos ? std::string::npos : shareStart - 2);
        if (shareStart != std::string::npos) {
            remotePath = unc.substr(shareStart);
        }
    } else if (isOneOf(type, {"fuse.sshfs", "sshfs"})) {
        // The user is who logs in, not where the files are.
        const std::size_t at = source.find('@');
        if (at != std::string_view::npos && at < source.find_first_of(":[")) {
            source.remove_prefix(at + 1);
        }
        if (!splitHost(source, server, remotePath)) {
            return;
        }
    } else {
        return;
    }
    entry.server = std::move(server);
    entry.remotePath = std::move(remotePath);
}

// Reads the target of `path` when it is a symbolic link. `exists` tells whether `path` could be
// looked at at all: a component that is missing or may not be searched ends the resolution.
bool readLink(const std::string& path, std::string& target, bool& exists) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            exists = errno == EINVAL;
            return false;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The absolute form of `path` with every symbolic link resolved as far as the path exists;
// below the first component that cannot be looked at, the rest is taken as written. "." and ".."
// are folded on the way, so a ".." after a link leaves the link's target, as the kernel does.
// Empty for the empty path, and when a relative path meets an unknown working directory.
std::string resolvePath(std::string_view path) {
    std::string pending(path);
    if (pending.empty()) {
        return std::string();
    }
    if (pending.front() != '/') {
        char directory[PATH_MAX];
        if (::getcwd(directory, sizeof directory) == nullptr) {
            return std::string();
        }
        pending = std::string(directory) + "/" + pending;
    }
    std::string resolved;  // components, each with its leading '/'; empty for the root
    bool exists = true;
    int links = 0;
    std::size_t position = 0;
    while (position < pending.size()) {
        if (pending[position] == '/') {
            ++position;
            continue;
        }
        const std::size_t end = std::min(pending.find('/', position), pending.size());
        const std::string_view component(pending.data() + position, end - position);
        position = end;
        if (component == ".") {
            continue;
        }
        if (component == "..") {
            resolved.erase(std::min(resolved.rfind('/'), resolved.size()));
            continue;
        }
        // The component is appended in place, and taken back when it is a link: copying the
        // path for every component would make a long path cost its length squared.
        const std::size_t parent = resolved.size();
        resolved += '/';
        resolved += component;
        std::string target;
        if (exists && readLink(resolved, target, exists)) {
            if (++links > kMaxSymbolicLinks) {
                exists = false;
            } else {
                pending = target + "/" + pending.substr(position);
                position = 0;
                resolved.resize(!target.empty() && target.front() == '/' ? 0 : parent);
            }
        }
    }
    return resolved.empty() ? std::string("/") : resolved;
}

bool holds(const std::string& mountPoint, const std::string& path) {
    if (path.compare(0, mountPoint.size(), mountPoint) != 0) {
        return false;
    }
    return mountPoint.size() == path.size() || mountPoint == "/" || path[mountPoint.size()] == '/';
}

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};

struct IteratorDeleter {
    void operator()(libmnt_iter* iterator) const { mnt_free_iter(iterator); }
};

}  // namespace

mountlist::mountlist() : m_IsValid(false) {}

mountlist::~mountlist() = default;

std::int32_t mountlist::Initialize() {
    return Initialize(kOwnMountTable);
}

std::int32_t mountlist::Initialize(const char* mountinfoPath) {
    m_Entries.clear();
    m_IsValid = false;
    if (mountinfoPath == nullptr) {
        return -1;
    }
    const std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
    const std::unique_ptr<libmnt_iter, IteratorDeleter> iterator(mnt_new_iter(MNT_ITER_FORWARD));
    if (table == nullptr || iterator == nullptr ||
        mnt_table_parse_file(table.get(), mountinfoPath) != 0) {
        return -1;
    }
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iterator.get(), &fs) == 0) {
        const char* target = mnt_fs_get_target(fs);
        if (target == nullptr || target[0] != '/') {
            continue;
        }
        Entry entry;
        entry.mountPoint = target;
        entry.id = mnt_fs_get_id(fs);
        entry.parentId = mnt_fs_get_parent_id(fs);
        const char* type = mnt_fs_get_fstype(fs);
        const char* source = mnt_fs_get_source(fs);
        if (type != nullptr && source != nullptr) {
            describeSource(type, source, entry);
        }
        m_Entries.push_back(std::move(entry));
    }
    // A table without a single mount cannot place any path; it counts as unread.
    m_IsValid = !m_Entries.empty();
    return m_IsValid ? 0 : -1;
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

const mountlist::Entry* mountlist::find(const wchar_t* path) const {
    std::string encoded;
    if (!m_IsValid || path == nullptr || !platform::toUtf8(path, encoded)) {
        return nullptr;
    }
    const std::string resolved = resolvePath(encoded);
    if (resolved.empty()) {
        return nullptr;
    }
    const Entry* best = nullptr;
    for (const Entry& entry : m_Entries) {
        if (!holds(entry.mountPoint, resolved)) {
            continue;
        }
        if (best == nullptr || entry.mountPoint.size() > best->mountPoint.size()) {
            best = &entry;
        } else if (entry.mountPoint.size() == best->mountPoint.size() &&
                   best->parentId != entry.id) {
            // Stacked on the same mount point: the later mount covers the earlier one, unless
            // the table lists the covering mount first.
            best = &entry;
        }
    }
    return best;
}
