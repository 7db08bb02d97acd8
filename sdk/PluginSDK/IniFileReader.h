#pragma once

#include <map>
#include <string>

namespace PluginSDK {

/// Reads an INI file once, at construction, and answers key lookups from memory.
///
/// Syntax: lines end with "\n" or "\r\n" and may be of any length; an optional UTF-8
/// byte-order mark; "[section]" headers; "key = value" pairs with the blanks around names and
/// values trimmed and one pair of matching surrounding quotes removed from a value; full-line
/// comments starting with ';' or '#'. Section and key names compare without regard to ASCII
/// case and the first occurrence wins; keys before the first header belong to the section "".
/// A line starting with '[' that is not a whole "[name]" header, a line without '=' and a pair
/// with an empty name are ignored. Invalid UTF-8 reads as U+FFFD. Only regular files of at most
/// 64 MiB are read: a directory, FIFO, device or socket cannot be read and is never opened, and
/// reading never blocks.
class IniFileReader {
public:
    explicit IniFileReader(const wchar_t* path);
    ~IniFileReader();

    IniFileReader(const IniFileReader&) = delete;
    IniFileReader& operator=(const IniFileReader&) = delete;

    /// True when the file could be read; when false, no lookup follows.
    bool m_IsValid;

    /// Fills `value` and returns true when `key` exists in `section`; false leaves `value` as it
    /// was.
    bool getProperty(const std::wstring& section, const std::wstring& key, std::wstring& value);

    /// Parses INI text given as bytes (the file's content), replacing what was read before, and
    /// marks the reader valid; used by the constructor and by tests. Every text parses: true.
    bool parse(const std::string& content);

private:
    std::map<std::wstring, std::map<std::wstring, std::wstring>> m_Sections;
};

}  // namespace PluginSDK
