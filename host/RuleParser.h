#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corehost {

/// The deepest nesting of expressions a rule may have; deeper input is a parse error.
inline constexpr std::uint32_t kMaxNesting = 1000;

/// A place in a rule source: 1-based line and column, columns counted in characters.
struct SourcePosition {
    std::uint32_t line = 1;
    std::uint32_t column = 1;

    std::string format() const;  // "LINE:COLUMN"
};

/// An error in a rule source or in reading it, with the place it was found.
struct Diagnostic {
    std::string source;
    std::optional<SourcePosition> position;  // none for errors about the whole file
    std::string message;

    std::string format() const;  // "SOURCE:LINE:COLUMN: message" or "SOURCE: message"
};

/// One property written in a rule: NAME=value. Its texts come from the allocator it is given, as
/// those of RuleNode do.
struct RuleProperty {
    using allocator_type = std::pmr::polymorphic_allocator<>;

    RuleProperty() : RuleProperty(allocator_type()) {}
    explicit RuleProperty(const allocator_type& allocator) : name(allocator), value(allocator) {}
    RuleProperty(std::wstring_view name, std::wstring_view value, SourcePosition position,
                 const allocator_type& allocator = {})
        : name(name, allocator), value(value, allocator), position(position) {}
    RuleProperty(const RuleProperty& other, const allocator_type& allocator)
        : name(other.name, allocator), value(other.value, allocator), position(other.position) {}
    RuleProperty(RuleProperty&& other, const allocator_type& allocator)
        : name(std::move(other.name), allocator),
          value(std::move(other.value), allocator),
          position(other.position) {}
    RuleProperty(const RuleProperty&) = default;
    RuleProperty(RuleProperty&&) = default;
    RuleProperty& operator=(const RuleProperty&) = default;
    RuleProperty& operator=(RuleProperty&&) = default;

    std::pmr::wstring name;
    std::pmr::wstring value;
    SourcePosition position;
};

/// One parsed expression: its name, its properties and its children in written order. A tree
/// parsed for one evaluation takes all its memory from one arena (a
/// std::pmr::monotonic_buffer_resource given to the root), which it releases whole; without
/// one, memory comes from new and delete.
struct RuleNode {
    using allocator_type = std::pmr::polymorphic_allocator<>;

    RuleNode() : RuleNode(allocator_type()) {}
    explicit RuleNode(const allocator_type& allocator)
        : name(allocator), properties(allocator), children(allocator) {}
    RuleNode(const RuleNode& other, const allocator_type& allocator)
        : name(other.name, allocator),
          position(other.position),
          properties(other.properties, allocator),
          children(other.children, allocator) {}
    RuleNode(RuleNode&& other, const allocator_type& allocator)
        : name(std::move(other.name), allocator),
          position(other.position),
          properties(std::move(other.properties), allocator),
          children(std::move(other.children), allocator) {}
    RuleNode(const RuleNode&) = default;
    RuleNode(RuleNode&&) = default;
    RuleNode& operator=(const RuleNode&) = default;
    RuleNode& operator=(RuleNode&&) = default;

    std::pmr::wstring name;
    SourcePosition position;
    std::pmr::vector<RuleProperty> properties;
    std::pmr::vector<RuleNode> children;
};

/// Where a rule of a catalog is written; its tree is parsed again when the rule is evaluated.
struct RuleEntry {
    std::string name;
    SourcePosition namePosition;
    std::size_t expressionOffset = 0;
    SourcePosition expressionPosition;
};

/// Rule names already defined, with the place of their definition. One flat table and one text
/// of all the names: a catalog of many rules costs a few bytes a rule and no allocation each.
class RuleNameIndex {
public:
    /// Records the rule `name` defined at `at` in `source`. Returns false, and leaves the first
    /// definition in `first` ("SOURCE:LINE:COLUMN"), when the name is taken.
    bool define(std::string_view name, const std::string& source, SourcePosition at,
                std::string& first) {
        return define(name, hash(name), source, at, first);
    }

    /// The same with the name's hash(), computed beforehand (on another thread, say).
    bool define(std::string_view name, std::size_t hash, const std::string& source,
                SourcePosition at, std::string& first);

    static std::size_t hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

    /// Makes room for `count` names in all without growing the table again.
    void reserve(std::size_t count);

private:
    struct Definition {
        std::size_t offset;  // of the name in m_Names
        std::uint32_t length;
        std::uint32_t source;
        SourcePosition position;
    };
    struct Slot {
        std::uint32_t tag = 0;  // the low bits of the name's hash
        std::uint32_t id = 0;   // 1 + the index of the definition, 0 for an empty slot
    };

    std::string_view nameOf(const Definition& definition) const {
        return std::string_view(m_Names).substr(definition.offset, definition.length);
    }
    void rehash(std::size_t slots);

    std::vector<Slot> m_Slots;  // open addressing, a power of two, at most half full
    std::vector<Definition> m_Definitions;
    std::string m_Names;
    std::vector<std::string> m_Sources;  // the names of the sources, each once
};

/// Told of every expression name of a catalog, in text order, with the place of its use.
using ExpressionNameUse = std::function<void(std::string_view name, SourcePosition at)>;

/// Checks that `text` is valid UTF-8 holding no NUL character; otherwise fills `error` with the
/// place of the first offending byte.
bool validateText(std::string_view text, const std::string& source, Diagnostic& error);

/// Offsets that split a catalog's text into about `parts` parts of like size for checking each
/// on its own: the start and end of the text, and between them line starts that look like the
/// start of a rule (a rule name, blanks and '='). A wrong guess shows as an error in checking the
/// parts, after which the text is checked whole.
std::vector<std::size_t> catalogSplitPoints(std::string_view text, std::size_t parts);

/// Recursive-descent parser of the rule language over UTF-8 text that validateText accepted.
class RuleParser {
public:
    RuleParser(std::string_view text, std::string source);

    /// The whole text is one expression, with blanks and comments around it.
    bool parseExpression(RuleNode& root);

    /// Checks every rule of a catalog, in order, appending one entry per rule; no tree is built
    /// (parseRule builds one when the rule is evaluated). Rule names must be unique across
    /// `names`, which grows; without an index they are not compared. `onName`, when given, is
    /// told of every expression name.
    bool parseCatalog(std::vector<RuleEntry>& rules, RuleNameIndex* names,
                      const ExpressionNameUse& onName = {});

    /// Parses the expression of a rule that parseCatalog found in the same text.
    bool parseRule(const RuleEntry& rule, RuleNode& root);

    /// Makes the text end at `end`, for checking part of a catalog.
    void stopAt(std::size_t end) { m_Text = m_Text.substr(0, end); }

    /// Goes on from `offset`, whose character stands at `at`.
    void startAt(std::size_t offset, SourcePosition at) {
        m_Offset = offset;
        m_Position = at;
    }

    /// Where parsing stands: after parseCatalog, the end of the text.
    SourcePosition position() const { return m_Position; }

    const Diagnostic& error() const { return m_Error; }

private:
    bool fail(SourcePosition position, std::string message);
    void skipBlanks();
    bool atEnd() const { return m_Offset >= m_Text.size(); }
    char peek() const { return m_Text[m_Offset]; }
    void advance();
    void advanceTo(std::size_t end);
    std::string_view currentCharacter() const;
    std::string found() const;
    std::string_view readName();
    // Without a node (or a value, or bytes) the text is checked and nothing is built.
    bool parseNode(RuleNode* node, std::uint32_t depth);
    bool parseArguments(RuleNode* node, std::string_view name, SourcePosition at,
                        std::uint32_t depth);
    bool parseValue(std::pmr::wstring* value);
    bool parseQuoted(std::pmr::wstring* value);
    bool parseEscape(std::string* bytes, SourcePosition open);

    std::string_view m_Text;
    std::string m_Source;
    std::size_t m_Offset = 0;
    SourcePosition m_Position;
    Diagnostic m_Error;
    const ExpressionNameUse* m_OnName = nullptr;
};

}  // namespace corehost
