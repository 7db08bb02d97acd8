#include "PluginSDK/StringVector.h"

#include <algorithm>

namespace PluginSDK {

void StringVector::addString(const String& value) {
    m_Elements.push_back(value);
    m_Count = static_cast<std::int32_t>(m_Elements.size());
}

void StringVector::addString(const wchar_t* value) {
    addString(String(value));
}

const String& StringVector::operator[](int index) const {
    static const String empty;
    if (index < 0 || static_cast<std::size_t>(index) >= m_Elements.size()) {
        return empty;
    }
    return m_Elements[static_cast<std::size_t>(index)];
}

void StringVector::removeAll() {
    m_Elements.clear();
    m_Count = 0;
}

void StringVector::sort(bool descending) {
    std::stable_sort(m_Elements.begin(), m_Elements.end(),
                     [descending](const String& left, const String& right) {
                         const int order = compareCodePoints(left, right);
                         return descending ? order > 0 : order < 0;
                     });
}

}  // namespace PluginSDK
