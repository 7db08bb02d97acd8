#include "Catalog.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <thread>

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

/// What checking one part of a catalog's text found: its rules, and the first use of each
/// expression name in it, placed by lines counted from the part's start.
struct Part {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::vector<RuleEntry> rules;
    std::vector<std::size_t> hashes;  // of the rules' names, for the index
    std::vector<std::pair<std::string, SourcePosition>> names;
    SourcePosition last;
    bool checked = false;
    std::exception_ptr failure;
};

void checkPart(const std::string& text, const std::string& source, Part& part) {
    try {
        // Parts start at line starts, never inside a character, so each can be checked for
        // UTF-8 on its own.
        Diagnostic invalid;
        if (!validateText(std::string_view(text).substr(part.begin, part.end - part.begin), source,
                          invalid)) {
            return;
        }
        RuleParser parser(text, source);
        if (part.begin > 0) {
            parser.startAt(part.begin, SourcePosition{});
        }
        parser.stopAt(part.end);
        NameSet seen;
        part.checked =
            parser.parseCatalog(part.rules, nullptr, [&](std::string_view name, SourcePosition at) {
                if (seen.find(name) == seen.end()) {
                    seen.emplace(name);
                    part.names.emplace_back(name, at);
                }
            });
        part.last = parser.position();
        part.hashes.reserve(part.rules.size());
        for (const RuleEntry& rule : part.rules) {
            part.hashes.push_back(RuleNameIndex::hash(rule.name));
        }
    } catch (...) {
        part.failure = std::current_exception();
    }
}

/// Checks the text in parts on `threads` threads. False when a part cannot be checked on its own
/// (its split point was not where a rule starts, or the text has an error): the caller then
/// checks the text whole, which finds the error and its place as always.
bool checkInParts(const std::string& text, const std::string& source, unsigned threads,
                  std::vector<Part>& parts) {
    const std::vector<std::size_t> points = catalogSplitPoints(text, threads);
    if (points.size() < 3) {
        return false;
    }
    parts.resize(points.size() - 1);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i].begin = points[i];
        parts[i].end = points[i + 1];
    }
    std::vector<std::thread> helpers;
    std::size_t started = 1;
    try {
        for (; started < parts.size(); ++started) {
            helpers.emplace_back(checkPart, std::cref(text), std::cref(source),
                                 std::ref(parts[started]));
        }
    } catch (const std::exception&) {
        // No thread, or no memory to start one: the parts no thread took are checked here.
    }
    checkPart(text, source, parts[0]);
    for (std::size_t i = started; i < parts.size(); ++i) {
        checkPart(text, source, parts[i]);
    }
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (const Part& part : parts) {
        if (part.failure) {
            std::rethrow_exception(part.failure);
        }
    }
    return std::all_of(parts.begin(), parts.end(), [](const Part& part) { return part.checked; });
}

std::string unknownNameMessage(std::wstring_view name) {
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
        // A regular file is read straight into the text, whose size it gives; what a file
        // still growing adds after that is read as from a stream.
        if (S_ISREG(status.st_mode) && status.st_size > 0) {
            text.resize(static_cast<std::size_t>(status.st_size));
            text.resize(std::fread(text.data(), 1, text.size(), file));
        }
        const bool read = std::ferror(file) == 0 && readStream(file, text);
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
    if (names.find(std::wstring_view(root.name)) == names.end()) {
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

void Catalog::useName(std::string_view name, std::uint32_t source, SourcePosition at) {
    if (m_UsedNames.find(name) == m_UsedNames.end()) {
        m_UsedNames.emplace(name);
        // The grammar makes expression names ASCII.
        m_NameUses.push_back({std::wstring(name.begin(), name.end()), source, at});
    }
}

bool Catalog::add(std::string text, std::string source, Diagnostic& error) {
    const auto index = static_cast<std::uint32_t>(m_Sources.size());
    m_Sources.push_back({std::move(source), std::move(text)});
    const Source& added = m_Sources.back();
    const std::size_t known = m_Rules.size();
    std::vector<Part> parts;
    if (m_CheckThreads > 1 && added.text.size() >= m_ParallelBytes &&
        checkInParts(added.text, added.name, m_CheckThreads, parts)) {
        std::size_t rules = 0;
        for (const Part& part : parts) {
            rules += part.rules.size();
        }
        m_RuleNames.reserve(m_Rules.size() + rules);
        m_Rules.reserve(m_Rules.size() + rules);
        // Each part counted lines from its own start.
        std::uint32_t lines = 0;
        std::string first;
        for (Part& part : parts) {
            for (auto& [name, at] : part.names) {
                at.line += lines;
                useName(name, index, at);
            }
            for (std::size_t i = 0; i < part.rules.size(); ++i) {
                RuleEntry& entry = part.rules[i];
                entry.namePosition.line += lines;
                entry.expressionPosition.line += lines;
                if (!m_RuleNames.define(entry.name, part.hashes[i], added.name, entry.namePosition,
                                        first)) {
                    error = {
                        added.name, entry.namePosition,
                        "duplicate rule \"" + entry.name + "\" (first defined at " + first + ")"};
                    return false;
                }
                m_Rules.push_back({index, std::move(entry)});
            }
            lines += part.last.line - 1;
        }
    } else {
        if (!validateText(added.text, added.name, error)) {
            return false;
        }
        std::vector<RuleEntry> entries;
        RuleParser parser(added.text, added.name);
        if (!parser.parseCatalog(
                entries, &m_RuleNames,
                [&](std::string_view name, SourcePosition at) { useName(name, index, at); })) {
            error = parser.error();
            return false;
        }
        m_Rules.reserve(m_Rules.size() + entries.size());
        for (RuleEntry& entry : entries) {
            m_Rules.push_back({index, std::move(entry)});
        }
    }
    if (m_Rules.size() == known) {
        error = {added.name, std::nullopt, "holds no rules"};
        return false;
    }
    return true;
}

bool Catalog::checkNames(const ExpressionNames& names, Diagnostic& error) const {
    for (const NameUse& use : m_NameUses) {
        if (names.find(std::wstring_view(use.name)) == names.end()) {
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
