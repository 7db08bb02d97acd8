#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "PluginSDK/String.h"

namespace PluginSDK {

/// A named section of name/value pairs held by the host for the whole process.
class Configuration {
public:
    /// Points `configuration` at the section `section`, making an empty one when it does not
    /// exist yet. Returns 0, or -101 when `section` is null (then `configuration` is null).
    static std::int32_t get(const wchar_t* section, Configuration*& configuration);

    /// Drops the section and everything in it; pointers to it are no longer valid. Returns 0
    /// (also when there was no such section), or -101 when `section` is null.
    static std::int32_t cleanup(const wchar_t* section);

    /// Stores a pair, replacing an earlier value of the same name.
    void setProperty(const String& name, const String& value);

    /// The host's side: reads a value back; false when the name is not stored.
    bool getProperty(const String& name, String& value) const;

    /// The host's side: every pair of the section, ordered by name.
    std::vector<std::pair<std::wstring, std::wstring>> getProperties() const;

    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;

private:
    Configuration() = default;
    ~Configuration() = default;
    friend struct ConfigurationRegistry;

    mutable std::mutex m_Mutex;
    std::map<std::wstring, std::wstring> m_Properties;
};

}  // namespace PluginSDK
