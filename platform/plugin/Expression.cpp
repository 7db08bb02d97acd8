#include "PluginSDK/Expression.h"

#include <cstddef>
#include <string_view>

namespace PluginSDK {

namespace {

// A node has a handful of properties, so they are scanned rather than searched. A stored name
// never holds a null character (it came from a null-terminated text), so it equals `name` when
// their characters agree up to the stored name's length and `name` ends there: the one pass
// needs neither the length of `name` nor a library call, and most names differ at their first
// character.
constexpr std::size_t kScanLimit = 8;

bool sameName(const std::wstring& stored, const wchar_t* name) {
    const wchar_t* characters = stored.data();
    const std::size_t length = stored.size();
#pragma GCC unroll 4
    for (std::size_t i = 0; i < length; ++i) {
        if (characters[i] != name[i]) {
            return false;
        }
    }
    return name[length] == L'\0';
}

template <class Map>
auto findName(Map& properties, const wchar_t* name) {
    if (properties.size() > kScanLimit) {
        return properties.find(std::wstring_view(name));
    }
    auto it = properties.begin();
    while (it != properties.end() && !sameName(it->first, name)) {
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
