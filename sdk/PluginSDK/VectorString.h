#pragma once

#include <string>

#include "PluginSDK/StringVector.h"

namespace PluginSDK {

/// A list serialised as one wide text.
///
/// Each element is written followed by ';', with '\' and ';' inside it escaped by a '\'. Any
/// list comes back from toVector unchanged, empty texts and the format's own characters
/// included. toVector reads every text, in the format or not: '\' takes the next character
/// literally (a '\' at the very end stands for itself), ';' ends an element, and characters
/// left after the last ';' form one more element.
class VectorString {
public:
    VectorString() = default;
    ~VectorString() = default;

    VectorString& operator+=(const wchar_t* element);  // null appends the empty text
    void reset();
    operator const wchar_t*() const { return m_Text.c_str(); }

    /// Appends the elements of `text` to `vector`; a null text appends nothing.
    static void toVector(const wchar_t* text, StringVector& vector);

private:
    std::wstring m_Text;
};

}  // namespace PluginSDK
