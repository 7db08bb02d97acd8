#pragma once

#include <cstddef>

namespace CorePlugin {

/// A private copy of a path for File and Path. Most paths are short: those fit in the object
/// itself, so a probe built on the stack copies its path without an allocation, and one that is
/// all ASCII (its own UTF-8 form) is narrowed for the system in the same pass. A longer path is
/// copied by the runtime (i_wcsdup). A null path stays null.
class PathCopy {
public:
    /// Characters kept inline, the terminator included.
    static constexpr std::size_t INLINE_LENGTH = 128;

    explicit PathCopy(const wchar_t* path);
    ~PathCopy();

    PathCopy(const PathCopy&) = delete;
    PathCopy& operator=(const PathCopy&) = delete;

    wchar_t* get() const { return m_Text; }

    /// The path's UTF-8 form when it is inline and all ASCII, else null.
    const char* narrow() const { return m_Narrow; }

private:
    wchar_t* m_Text;
    const char* m_Narrow;
    wchar_t m_Inline[INLINE_LENGTH];
    char m_NarrowInline[INLINE_LENGTH];
};

}  // namespace CorePlugin
