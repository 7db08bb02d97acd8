#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

/// One property written in a rule: NAME=value.
struct RuleProperty {
    std::wstring name;
    std::wstring value;
    SourcePosition position;
};

/// One parsed expression: its name, its properties and its children in written order.
struct RuleNode {
    std::wstring name;
    SourcePosition position;
    std::vector<RuleProperty> properties;
    std::vector<RuleNode> children;
};

/// Where a rule of a catalog is written; its tree is parsed again when the rule is evaluated.
struct RuleEntry {
    std::string name;
    SourcePosition namePosition;
    std::size_t expressionOffset = 0;
    SourcePosition expressionPosition;
};

/// Rule names already defined, with the place of their definition.
using RuleNameIndex = std::unordered_map<std::string, std::pair<std::string, SourcePosition>>;

/// Asked for every parsed tree: returns the place and text of an error, or nothing.
using RuleCheck =
    std::function<std::optional<std::pair<SourcePosition, std::string>>(const RuleNode&)>;

/// Checks that `text` is valid UTF-8 holding no NUL character; otherwise fills `error` with the
/// place of the first offending byte.
bool validateText(std::string_view text, const std::string& source, Diagnostic& error);

/// Recursive-descent parser of the rule language over UTF-8 text that validateText accepted.
class RuleParser {
public:
    RuleParser(std::string_view text, std::string source);

    /// The whole text is one expression, with blanks and comments around it.
    bool parseExpression(RuleNode& root);

    /// Parses every rule of a catalog, in order, appending one entry per rule. Rule names must
    /// be unique across `names` (which grows); `check`, when given, vets every tree (whose
    /// property values are left empty: only parseRule decodes them).
    bool parseCatalog(std::vector<RuleEntry>& rules, RuleNameIndex& names,
                      const RuleCheck& check = {});

    /// Parses the expression of a rule that parseCatalog found in the same text.
    bool parseRule(const RuleEntry& rule, RuleNode& root);

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
    bool readName(std::string& name);
    bool parseNode(RuleNode& node, std::uint32_t depth);
    bool parseArguments(RuleNode& node, const std::string& name, SourcePosition at,
                        std::uint32_t depth);
    bool parseValue(std::wstring& value);
    bool parseQuoted(std::wstring& value);
    bool parseEscape(std::string& bytes, SourcePosition open);

    std::string_view m_Text;
    std::string m_Source;
    std::size_t m_Offset = 0;
    SourcePosition m_Position;
    Diagnostic m_Error;
    bool m_DecodeValues = true;
};

}  // namespace corehost
