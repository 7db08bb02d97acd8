#include "common/PathCopy.h"

#include <cstdint>

#include "base/runtime.h"

namespace CorePlugin {

PathCopy::PathCopy(const wchar_t* path) : m_Text(nullptr), m_Narrow(nullptr) {
    if (path == nullptr) {
        return;
    }
    // Copied and narrowed while the terminator is looked for, so the path is read only once;
    // whether every character was ASCII is told from all of them together at the end.
    std::uint32_t seen = 0;
#pragma GCC unroll 4
    for (std::size_t i = 0; i < INLINE_LENGTH; ++i) {
        const wchar_t c = path[i];
        m_Inline[i] = c;
        m_NarrowInline[i] = static_cast<char>(c);
        seen |= static_cast<std::uint32_t>(c);
        if (c == L'\0') {
            m_Text = m_Inline;
            if (seen < 0x80) {
                m_Narrow = m_NarrowInline;
            }
            return;
        }
    }
    m_Text = i_wcsdup(path);
}

PathCopy::~PathCopy() {
    if (m_Text != m_Inline) {
        zovm_free(m_Text);
    }
}

}  // namespace CorePlugin
