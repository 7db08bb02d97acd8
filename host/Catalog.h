#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "RuleParser.h"

namespace corehost {

/// A hash of wide names that can be asked about a view of a name without copying it.
struct WideNameHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view name) const {
        return std::hash<std::wstring_view>{}(name);
    }
};

/// The expression names a plug-in registered, for checking rules before they are evaluated.
using ExpressionNames = std::unordered_set<std::wstring, WideNameHash, std::equal_to<>>;

/// A set of names that can be asked about a name without copying it.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};
using NameSet = std::unordered_set<std::string, NameHash, std::equal_to<>>;

/// Reads a rule source: a file, or standard input for "-". Directories, unreadable and empty
/// sources are errors. `name` is what messages call the source.
bool readRuleSource(const std::string& path, std::string& text, std::string& name,
                    Diagnostic& error);

/// The first expression of `root` (in pre-order) whose name is not in `names`, as an error.
std::optional<std::pair<SourcePosition, std::string>> findUnknownName(const RuleNode& root,
                                                                      const ExpressionNames& names);

/// The rules of one or more catalog files, read and checked whole before any is evaluated. It
/// keeps the texts and where each rule starts, not the rules' trees: each rule is parsed again
/// when it is evaluated, so memory follows the text and the largest rule.
class Catalog {
public:
    /// Below this size a catalog's text is checked on one thread: starting threads would cost
    /// more than they save.
    static constexpr std::size_t kParallelCheckBytes = 256 * 1024;

    /// A catalog's text of `parallelBytes` or more is checked on up to `checkThreads` threads.
    explicit Catalog(unsigned checkThreads = 1, std::size_t parallelBytes = kParallelCheckBytes)
        : m_CheckThreads(checkThreads), m_ParallelBytes(parallelBytes) {}

    /// Reads and parses the files in order; rule names must be unique across all of them.
    bool load(const std::vector<std::string>& paths, Diagnostic& error);

    /// Adds a catalog given as text (what load does for each file).
    bool add(std::string text, std::string source, Diagnostic& error);

    /// Fails on the first use, in text order, of a name that `names` lacks.
    bool checkNames(const ExpressionNames& names, Diagnostic& error) const;

    std::size_t size() const { return m_Rules.size(); }
    const std::string& ruleName(std::size_t index) const { return m_Rules[index].entry.name; }
    const std::string& sourceName(std::size_t index) const {
        return m_Sources[m_Rules[index].source].name;
    }
    SourcePosition rulePosition(std::size_t index) const {
        return m_Rules[index].entry.namePosition;
    }

    /// Parses rule `index` again into `root`; false only if its text changed since load.
    bool parse(std::size_t index, RuleNode& root, Diagnostic& error) const;

private:
    /// One file's text, kept for parsing its rules again.
    struct Source {
        std::string name;
        std::string text;
    };
    /// A rule and the source it is written in.
    struct Rule {
        std::uint32_t source;
        RuleEntry entry;
    };
    /// The first place an expression name is used.
    struct NameUse {
        std::wstring name;
        std::uint32_t source;
        SourcePosition position;
    };

    void useName(std::string_view name, std::uint32_t source, SourcePosition at);

    unsigned m_CheckThreads;
    std::size_t m_ParallelBytes;
    std::vector<Source> m_Sources;
    std::vector<Rule> m_Rules;
    RuleNameIndex m_RuleNames;
    std::vector<NameUse> m_NameUses;  // the first use of each expression name, in text order
    NameSet m_UsedNames;
};

}  // namespace corehost
