#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Catalog.h"
#include "PluginSDK/Plugin.h"

namespace corehost {

/// The plug-ins a host loaded, in load order, and which of them builds each expression name:
/// the first plug-in that registered it.
class PluginSet {
public:
    /// One loaded plug-in, with what messages call it and the module it came from.
    struct Member {
        PluginSDK::Plugin* plugin = nullptr;
        std::string name;
        std::string module;
    };

    /// A registered name and the member that builds it.
    struct Supplier {
        std::wstring name;
        std::size_t member = 0;
    };

    /// A name registered again: the member that builds it and the first member that repeated it.
    struct Duplicate {
        std::wstring name;
        std::size_t first = 0;
        std::size_t again = 0;
    };

    /// Appends an initialised plug-in and takes over the names it registered.
    void add(PluginSDK::Plugin& plugin, std::string name, std::string module);

    /// The plug-in that builds `name`, or null when no plug-in registered it.
    PluginSDK::Plugin* find(std::wstring_view name) const;

    /// Every registered name, for checking rules before anything is built.
    ExpressionNames names() const;

    const std::vector<Member>& members() const { return m_Members; }

    /// Each name once, in registration order across the plug-ins.
    const std::vector<Supplier>& suppliers() const { return m_Suppliers; }

    /// Each name registered more than once, once, in the order its repetition was found.
    const std::vector<Duplicate>& duplicates() const { return m_Duplicates; }

private:
    /// Where a name's supplier is, and whether its repetition was recorded already.
    struct Entry {
        std::size_t supplier = 0;
        bool repeated = false;
    };

    std::vector<Member> m_Members;
    std::vector<Supplier> m_Suppliers;
    std::vector<Duplicate> m_Duplicates;
    std::unordered_map<std::wstring, Entry, WideNameHash, std::equal_to<>> m_Index;
};

}  // namespace corehost
