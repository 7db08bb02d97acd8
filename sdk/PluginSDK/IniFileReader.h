#pragma once

#include <string>

namespace PluginSDK {

/// Opens an INI file at construction and answers each key lookup by reading the file through,
/// line by line.
///
/// Syntax: lines end with "\n" or "\r\n" and may be of any length; an optional UTF-8
/// byte-order mark; "[section]" headers; "key = value" pairs with the blanks around names and
/// values trimmed and one pair of matching surrounding quotes removed from a value; full-line
/// comments starting with ';' or '#'. Section and key names compare without regard to ASCII
/// case and the first occurrence wins; keys before the first header belong to the section "".
/// A line starting with '[' that is not a whole "[name]" header, a line without '=' and a pair
/// with an empty name are ignored. Invalid UTF-8 reads as U+FFFD. Memory does not grow with the
/// file nor with its lines, only with the names looked up and the value found. Only regular
/// files of at most 4 GiB are read: a directory, FIFO, device or socket cannot be read and is
/// never opened, and reading never blocks.
class IniFileReader {
public:
    explicit IniFileReader(const wchar_t* path);
    ~IniFileReader();

    IniFileReader(const IniFileReader&) = delete;
    IniFileReader& operator=(const IniFileReader&) = delete;

    /// True when the file could be opened; when false, no lookup follows.
    bool m_IsValid;

    /// Fills `value` and returns true when `key` exists in `section`; false leaves `value` as it
    /// was, also when the file can no longer be read.
    bool getProperty(const std::wstring& section, const std::wstring& key, std::wstring& value);

    /// Takes INI text given as bytes (the file's content) in place of what was read before, and
    /// marks the reader valid; used by tests. Every text parses: true.
    bool parse(const std::string& content);

private:
    int m_Descriptor;       // the open file, or -1 when the text is m_Content
    std::string m_Content;  // the text given to parse()
};

}  // namespace PluginSDK
