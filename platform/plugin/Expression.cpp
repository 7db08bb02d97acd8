#include "PluginSDK/Expression.h"

#include <cstddef>
#include <string_view>

namespace PluginSDK {

namespace {

// A node has a handful of properties. Scanning them compares lengths first and the characters
// of one name only, where the map's search compares characters at every step and again to
// confirm the hit.
constexpr std::size_t kScanLimit = 8;

template <class Map>
auto findName(Map& properties, std::wstring_view name) {
    if (properties.size() > kScanLimit) {
        return properties.find(name);
    }
    auto it = properties.begin();
    while (it != properties.end() && it->first != name) {
        ++it;
    }
    return it;
}

}  // namespace

Expression::Expression() = default;

Expression::~Expression() = default;

const wchar_t* Expression::getProperty(const wchar_t* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    const auto found = findName(m_Properties, name);
    return found == m_Properties.end() ? nullptr : found->second.c_str();
}

void Expression::setProperty(const wchar_t* name, const wchar_t* value) {
    if (name == nullptr) {
        return;
    }
    const std::wstring_view text = value == nullptr ? std::wstring_view() : value;
    const auto found = m_Properties.find(std::wstring_view(name));
    if (found == m_Properties.end()) {
        m_Properties.emplace(name, text);
    } else {
        found->second.assign(text);
    }
}

void Expression::removeProperty(const wchar_t* name) {
    if (name == nullptr) {
        return;
    }
    const auto found = m_Properties.find(std::wstring_view(name));
    if (found != m_Properties.end()) {
        m_Properties.erase(found);
    }
}

}  // namespace PluginSDK
