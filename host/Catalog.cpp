#include "Catalog.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>

namespace corehost {

namespace {

bool readStream(std::FILE* file, std::string& text) {
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    return std::ferror(file) == 0;
}

void collectNames(const RuleNode& node, std::uint32_t source,
                  std::unordered_set<std::wstring>& seen,
                  std::vector<std::tuple<std::wstring, std::uint32_t, SourcePosition>>& uses) {
    if (seen.insert(node.name).second) {
        uses.emplace_back(node.name, source, node.position);
    }
    for (const RuleNode& child : node.children) {
        collectNames(child, source, seen, uses);
    }
}

std::string unknownNameMessage(const std::wstring& name) {
    std::string narrow;
    for (wchar_t c : name) {
        narrow += static_cast<char>(c);  // the grammar makes expression names ASCII
    }
    return "unknown expression name \"" + narrow + "\" (-10008)";
}

}  // namespace

bool readRuleSource(const std::string& path, std::string& text, std::string& name,
                    Diagnostic& error) {
    text.clear();
    if (path == "-") {
        name = "<stdin>";
        if (!readStream(stdin, text)) {
            error = {name, std::nullopt, std::string("cannot be read: ") + std::strerror(errno)};
            return false;
        }
    } else {
        name = path;
        struct stat status {};
        if (stat(path.c_str(), &status) != 0) {
            error = {name, std::nullopt, std::string("cannot be read: ") + std::strerror(errno)};
            return false;
        }
        if (S_ISDIR(status.st_mode)) {
            error = {name, std::nullopt, "is a directory, not a rule file"};
            return false;
        }
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            error = {name, std::nullopt, std::string("cannot be read: ") + std::strerror(errno)};
            return false;
        }
        // Room for the whole file at once: growing as it is read copies a large catalog over
        // and over, and briefly needs twice its size.
        if (S_ISREG(status.st_mode) && status.st_size > 0) {
            text.reserve(static_cast<std::size_t>(status.st_size));
        }
        const bool read = readStream(file, text);
        const int readErrno = errno;
        std::fclose(file);
        if (!read) {
            error = {name, std::nullopt,
                     std::string("cannot be read: ") + std::strerror(readErrno)};
            return false;
        }
    }
    if (text.empty()) {
        error = {name, std::nullopt, "is empty"};
        return false;
    }
    return true;
}

std::optional<std::pair<SourcePosition, std::string>> findUnknownName(
    const RuleNode& root, const ExpressionNames& names) {
    if (names.count(root.name) == 0) {
        return std::make_pair(root.position, unknownNameMessage(root.name));
    }
    for (const RuleNode& child : root.children) {
        if (auto problem = findUnknownName(child, names)) {
            return problem;
        }
    }
    return std::nullopt;
}

bool Catalog::load(const std::vector<std::string>& paths, Diagnostic& error) {
    for (const std::string& path : paths) {
        std::string text;
        std::string name;
        if (!readRuleSource(path, text, name, error) || !add(std::move(text), name, error)) {
            return false;
        }
    }
    return true;
}

bool Catalog::add(std::string text, std::string source, Diagnostic& error) {
    if (!validateText(text, source, error)) {
        return false;
    }
    const auto index = static_cast<std::uint32_t>(m_Sources.size());
    m_Sources.push_back({std::move(source), std::move(text)});
    const Source& added = m_Sources.back();
    std::vector<RuleEntry> entries;
    std::vector<std::tuple<std::wstring, std::uint32_t, SourcePosition>> uses;
    RuleParser parser(added.text, added.name);
    const bool parsed = parser.parseCatalog(entries, m_RuleNames, [&](const RuleNode& root) {
        collectNames(root, index, m_UsedNames, uses);
        return std::optional<std::pair<SourcePosition, std::string>>();
    });
    if (!parsed) {
        error = parser.error();
        return false;
    }
    if (entries.empty()) {
        error = {added.name, std::nullopt, "holds no rules"};
        return false;
    }
    m_Rules.reserve(m_Rules.size() + entries.size());
    for (RuleEntry& entry : entries) {
        m_Rules.push_back({index, std::move(entry)});
    }
    for (auto& [name, source, position] : uses) {
        m_NameUses.push_back({std::move(name), source, position});
    }
    return true;
}

bool Catalog::checkNames(const ExpressionNames& names, Diagnostic& error) const {
    for (const NameUse& use : m_NameUses) {
        if (names.count(use.name) == 0) {
            error = {m_Sources[use.source].name, use.position, unknownNameMessage(use.name)};
            return false;
        }
    }
    return true;
}

bool Catalog::parse(std::size_t index, RuleNode& root, Diagnostic& error) const {
    const Rule& rule = m_Rules[index];
    const Source& source = m_Sources[rule.source];
    RuleParser parser(source.text, source.name);
    if (!parser.parseRule(rule.entry, root)) {
        error = parser.error();
        return false;
    }
    return true;
}

}  // namespace corehost
