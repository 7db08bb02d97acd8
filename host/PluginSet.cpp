#include "PluginSet.h"

#include <utility>

namespace corehost {

void PluginSet::add(PluginSDK::Plugin& plugin, std::string name, std::string module) {
    const std::size_t member = m_Members.size();
    m_Members.push_back({&plugin, std::move(name), std::move(module)});
    for (const std::wstring& expression : plugin.getExpressionNames()) {
        const auto [found, inserted] = m_Index.try_emplace(expression, Entry{m_Suppliers.size()});
        if (inserted) {
            m_Suppliers.push_back({expression, member});
        } else if (!found->second.repeated) {
            // A third registration adds nothing a user could act on beyond the first warning.
            found->second.repeated = true;
            m_Duplicates.push_back(
                {expression, m_Suppliers[found->second.supplier].member, member});
        }
    }
}

PluginSDK::Plugin* PluginSet::find(std::wstring_view name) const {
    const auto found = m_Index.find(name);
    if (found == m_Index.end()) {
        return nullptr;
    }
    return m_Members[m_Suppliers[found->second.supplier].member].plugin;
}

ExpressionNames PluginSet::names() const {
    ExpressionNames names;
    for (const Supplier& supplier : m_Suppliers) {
        names.insert(supplier.name);
    }
    return names;
}

}  // namespace corehost
