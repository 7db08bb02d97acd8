#include "PluginSDK/Configuration.h"

#include <string_view>

#include "PluginSDK/ResultCodes.h"

namespace PluginSDK {

/// The process-wide table of sections; it owns them until they are cleaned up or the process ends.
struct ConfigurationRegistry {
    ~ConfigurationRegistry() {
        for (auto& entry : sections) {
            delete entry.second;
        }
    }

    static ConfigurationRegistry& instance() {
        static ConfigurationRegistry registry;
        return registry;
    }

    Configuration* get(const wchar_t* name) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto found = sections.find(std::wstring_view(name));
        if (found != sections.end()) {
            return found->second;
        }
        const auto added = sections.emplace(name, nullptr).first;
        try {
            added->second = new Configuration;
        } catch (...) {
            sections.erase(added);
            throw;
        }
        return added->second;
    }

    void cleanup(const wchar_t* name) {
        Configuration* section = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const auto found = sections.find(std::wstring_view(name));
            if (found == sections.end()) {
                return;
            }
            section = found->second;
            sections.erase(found);
        }
        delete section;
    }

    std::mutex mutex;
    std::map<std::wstring, Configuration*, std::less<>> sections;
};

std::int32_t Configuration::get(const wchar_t* section, Configuration*& configuration) {
    configuration = nullptr;
    if (section == nullptr) {
        return RC_INVALID_ARGUMENT;
    }
    configuration = ConfigurationRegistry::instance().get(section);
    return 0;
}

std::int32_t Configuration::cleanup(const wchar_t* section) {
    if (section == nullptr) {
        return RC_INVALID_ARGUMENT;
    }
    ConfigurationRegistry::instance().cleanup(section);
    return 0;
}

void Configuration::setProperty(const String& name, const String& value) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Properties.insert_or_assign(std::wstring(name), std::wstring(value));
}

bool Configuration::getProperty(const String& name, String& value) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    const auto found = m_Properties.find(std::wstring(name));
    if (found == m_Properties.end()) {
        return false;
    }
    value = found->second.c_str();
    return true;
}

std::vector<std::pair<std::wstring, std::wstring>> Configuration::getProperties() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return {m_Properties.begin(), m_Properties.end()};
}

}  // namespace PluginSDK
