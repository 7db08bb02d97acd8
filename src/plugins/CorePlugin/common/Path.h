#pragma once

#include <cstdint>

#include "common/PathCopy.h"

namespace CorePlugin {

/// Looks at a path as a directory: whether it is one.
class Path {
public:
    /// The mode bit of a directory. Only this bit is tested, so a socket or a block device
    /// counts as one too.
    static constexpr std::uint32_t PATH = 0x4000;

    explicit Path(const wchar_t* path);  // null stays null
    virtual ~Path();

    Path(const Path&) = delete;
    Path& operator=(const Path&) = delete;

    const wchar_t* getPath() const { return m_Path.get(); }

    /// 0 with the answer (a missing path is no directory), -101 for a null out-pointer, -11014
    /// without a path, -11009 when the status cannot be read for another reason than absence.
    std::int32_t exists(bool* exists) const;

private:
    PathCopy m_Path;
};

}  // namespace CorePlugin
