#pragma once

#include <cstdint>
#include <vector>

#include "PluginSDK/String.h"

namespace PluginSDK {

/// The host's list of wide texts: every vector result is one.
class StringVector {
public:
    StringVector() = default;
    StringVector(const StringVector& other) = default;
    ~StringVector() = default;

    StringVector& operator=(const StringVector& other) = default;

    void addString(const String& value);
    void addString(const wchar_t* value);  // null appends the empty text

    /// Element `index`, counted from 0; an index outside the list yields the empty text.
    const String& operator[](int index) const;

    void removeAll();

    /// Sorts in code-point order, ascending for false, descending for true; equal texts keep
    /// their order.
    void sort(bool descending);

    /// The element count, read directly by callers; kept equal to the number of elements.
    std::int32_t m_Count = 0;

private:
    std::vector<String> m_Elements;
};

}  // namespace PluginSDK
