// The INI reader on any bytes written to a regular file, and given as text: both answer every
// lookup as a plain reading of the whole text into a table of first occurrences does.

#include <map>
#include <sstream>
#include <utility>

#include "FuzzSupport.h"
#include "PluginSDK/IniFileReader.h"

using Table = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

static std::wstring trim(const std::wstring& text) {
    const wchar_t* blanks = L" \t\r\v\f";
    const std::size_t first = std::min(text.find_first_not_of(blanks), text.size());
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

static std::wstring fold(std::wstring text) {
    for (wchar_t& c : text) {
        c = c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
    }
    return text;
}

static Table model(std::string_view bytes) {
    Table pairs;
    std::wistringstream lines(
        platform::fromUtf8(bytes.substr(bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0)));
    std::wstring section;
    for (std::wstring line; std::getline(lines, line);) {
        line = trim(line);
        const std::size_t equals = line.find(L'=');
        if (line.starts_with(L'[')) {
            section = line.ends_with(L']') ? fold(trim(line.substr(1, line.size() - 2))) : section;
        } else if (!line.starts_with(L';') && !line.starts_with(L'#') &&
                   equals != std::wstring::npos && !trim(line.substr(0, equals)).empty()) {
            const std::wstring value = trim(line.substr(equals + 1));
            const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                                (value[0] == L'"' || value[0] == L'\'');
            pairs.emplace(std::make_pair(section, fold(trim(line.substr(0, equals)))),
                          quoted ? value.substr(1, value.size() - 2) : value);
        }
    }
    return pairs;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    PluginSDK::IniFileReader file(platform::fromUtf8(fuzz::writeFile("fuzz.ini", bytes)).c_str());
    PluginSDK::IniFileReader text(nullptr);
    text.parse(std::string(bytes));
    fuzz::require(file.m_IsValid, "a regular file can be read");
    const Table pairs = model(bytes);
    for (const auto& [name, value] : pairs) {
        for (const auto& [section, key] : {name, std::make_pair(name.first + L"]", name.second)}) {
            const auto expected = pairs.find({section, key});
            for (PluginSDK::IniFileReader* reader : {&file, &text}) {
                std::wstring found = L"untouched";
                const bool exists = reader->getProperty(section, key, found);
                fuzz::require(
                    exists == (expected != pairs.end()) && (!exists || found == expected->second),
                    "a lookup answers as the table");
            }
        }
    }
    return 0;
}
