#include "RuleParser.h"

#include <platform/utf8.h>

#include <cctype>
#include <cstdio>
#include <utility>

namespace corehost {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

bool isRuleNameChar(char c) {
    return isNameChar(c) || c == '.' || c == '-';
}

// A bare value ends at the characters that structure a rule.
bool endsBareValue(char c) {
    return isBlank(c) || c == ',' || c == '(' || c == ')' || c == '"' || c == '#' || c == '=';
}

bool isContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when there is none.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        // Overlong forms and surrogates are excluded by the second byte's range.
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuationByte(byte(i))) {
            return 0;
        }
    }
    return length;
}

// Rules are mostly ASCII: widening it directly saves the general decoder's work.
void appendWide(std::string_view bytes, std::wstring& out) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            platform::appendFromUtf8(bytes, out);
            return;
        }
    }
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out[start + i] = static_cast<wchar_t>(bytes[i]);
    }
}

std::string hexByte(unsigned char c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%02X", c);
    return buffer;
}

}  // namespace

std::string SourcePosition::format() const {
    return std::to_string(line) + ":" + std::to_string(column);
}

std::string Diagnostic::format() const {
    if (position) {
        return source + ":" + position->format() + ": " + message;
    }
    return source + ": " + message;
}

bool validateText(std::string_view text, const std::string& source, Diagnostic& error) {
    SourcePosition position;
    std::size_t offset = 0;
    while (offset < text.size()) {
        const auto c = static_cast<unsigned char>(text[offset]);
        if (c == 0) {
            error = {source, position, "a NUL character is not allowed"};
            return false;
        }
        const std::size_t length = sequenceLength(text.substr(offset));
        if (length == 0) {
            error = {source, position, "invalid UTF-8 sequence starting with byte " + hexByte(c)};
            return false;
        }
        if (c == '\n') {
            ++position.line;
            position.column = 1;
        } else {
            ++position.column;
        }
        offset += length;
    }
    return true;
}

RuleParser::RuleParser(std::string_view text, std::string source)
    : m_Text(text), m_Source(std::move(source)) {
    // A byte-order mark is not part of the text, and takes no column.
    if (m_Text.substr(0, 3) == "\xEF\xBB\xBF") {
        m_Offset = 3;
    }
}

bool RuleParser::fail(SourcePosition position, std::string message) {
    m_Error = {m_Source, position, std::move(message)};
    return false;
}

void RuleParser::advance() {
    const auto c = static_cast<unsigned char>(m_Text[m_Offset++]);
    if (c == '\n') {
        ++m_Position.line;
        m_Position.column = 1;
    } else if (!isContinuationByte(c)) {
        ++m_Position.column;
    }
}

void RuleParser::advanceTo(std::size_t end) {
    // Only runs without a line feed come here, so the column is all that moves.
    for (; m_Offset < end; ++m_Offset) {
        if (!isContinuationByte(static_cast<unsigned char>(m_Text[m_Offset]))) {
            ++m_Position.column;
        }
    }
}

std::string_view RuleParser::currentCharacter() const {
    std::size_t length = 1;
    while (m_Offset + length < m_Text.size() &&
           isContinuationByte(static_cast<unsigned char>(m_Text[m_Offset + length]))) {
        ++length;
    }
    return m_Text.substr(m_Offset, length);
}

// Describes what stands at the current place, for "found ..." in messages.
std::string RuleParser::found() const {
    if (atEnd()) {
        return "found the end of the text";
    }
    return "found \"" + std::string(currentCharacter()) + "\"";
}

void RuleParser::skipBlanks() {
    while (!atEnd()) {
        const char c = peek();
        if (isBlank(c)) {
            advance();
        } else if (c == '#') {
            while (!atEnd() && peek() != '\n') {
                advance();
            }
        } else {
            break;
        }
    }
}

bool RuleParser::readName(std::string& name) {
    if (atEnd() || !isNameStart(peek())) {
        return false;
    }
    const std::size_t start = m_Offset;
    std::size_t end = start;
    while (end < m_Text.size() && isNameChar(m_Text[end])) {
        ++end;
    }
    advanceTo(end);
    name.assign(m_Text.substr(start, end - start));
    return true;
}

bool RuleParser::parseExpression(RuleNode& root) {
    m_DecodeValues = true;
    if (!parseNode(root, 1)) {
        return false;
    }
    skipBlanks();
    if (!atEnd()) {
        return fail(m_Position, "unexpected text after the expression, " + found());
    }
    return true;
}

bool RuleParser::parseRule(const RuleEntry& rule, RuleNode& root) {
    m_Offset = rule.expressionOffset;
    m_Position = rule.expressionPosition;
    m_DecodeValues = true;
    return parseNode(root, 1);
}

bool RuleParser::parseCatalog(std::vector<RuleEntry>& rules, RuleNameIndex& names,
                              const RuleCheck& check) {
    // Checking a catalog needs the shape of each rule, not its values: they are decoded when
    // the rule is parsed again for evaluation.
    m_DecodeValues = false;
    RuleNode root;
    for (;;) {
        skipBlanks();
        if (atEnd()) {
            return true;
        }
        RuleEntry entry;
        entry.namePosition = m_Position;
        if (!isNameStart(peek())) {
            return fail(m_Position, "expected a rule name, " + found());
        }
        const std::size_t start = m_Offset;
        while (!atEnd() && isRuleNameChar(peek())) {
            advance();
        }
        entry.name.assign(m_Text.substr(start, m_Offset - start));
        const auto previous = names.find(entry.name);
        if (previous != names.end()) {
            return fail(entry.namePosition, "duplicate rule \"" + entry.name +
                                                "\" (first defined at " + previous->second.first +
                                                ":" + previous->second.second.format() + ")");
        }
        skipBlanks();
        if (atEnd() || peek() != '=') {
            return fail(m_Position,
                        "expected '=' after the rule name \"" + entry.name + "\", " + found());
        }
        advance();
        skipBlanks();
        entry.expressionOffset = m_Offset;
        entry.expressionPosition = m_Position;
        root = RuleNode();
        if (!parseNode(root, 1)) {
            return false;
        }
        if (check) {
            if (auto problem = check(root)) {
                return fail(problem->first, std::move(problem->second));
            }
        }
        skipBlanks();
        if (!atEnd() && peek() == ';') {
            advance();
        }
        names.emplace(entry.name, std::make_pair(m_Source, entry.namePosition));
        rules.push_back(std::move(entry));
    }
}

bool RuleParser::parseNode(RuleNode& node, std::uint32_t depth) {
    skipBlanks();
    const SourcePosition at = m_Position;
    std::string name;
    if (!readName(name)) {
        return fail(at, "expected an expression name, " + found());
    }
    if (depth > kMaxNesting) {
        return fail(at, "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
    }
    return parseArguments(node, name, at, depth);
}

bool RuleParser::parseArguments(RuleNode& node, const std::string& name, SourcePosition at,
                                std::uint32_t depth) {
    appendWide(name, node.name);
    node.position = at;
    skipBlanks();
    if (atEnd() || peek() != '(') {
        return fail(m_Position, "expected '(' after \"" + name + "\", " + found());
    }
    advance();
    const auto missingParenthesis = [&] {
        return fail(m_Position, "missing ')' to close \"" + name + "(\" opened at " + at.format());
    };
    // Past a few properties, duplicates are found through an index rather than a scan.
    std::unordered_map<std::wstring, SourcePosition> propertyIndex;
    for (;;) {
        skipBlanks();
        if (atEnd()) {
            return missingParenthesis();
        }
        if (peek() == ')') {
            advance();
            return true;
        }
        const SourcePosition argumentAt = m_Position;
        std::string argument;
        if (!readName(argument)) {
            return fail(argumentAt, "expected a property or a child expression, " + found());
        }
        skipBlanks();
        if (!atEnd() && peek() == '(') {
            if (depth + 1 > kMaxNesting) {
                return fail(argumentAt,
                            "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
            }
            node.children.emplace_back();
            if (!parseArguments(node.children.back(), argument, argumentAt, depth + 1)) {
                return false;
            }
        } else if (!atEnd() && peek() == '=') {
            advance();
            RuleProperty property{{}, {}, argumentAt};
            appendWide(argument, property.name);
            const SourcePosition* first = nullptr;
            if (node.properties.size() < 8) {
                for (const RuleProperty& other : node.properties) {
                    if (other.name == property.name) {
                        first = &other.position;
                    }
                }
            } else {
                if (propertyIndex.empty()) {
                    for (const RuleProperty& other : node.properties) {
                        propertyIndex.emplace(other.name, other.position);
                    }
                }
                const auto found = propertyIndex.find(property.name);
                if (found != propertyIndex.end()) {
                    first = &found->second;
                }
                propertyIndex.emplace(property.name, argumentAt);
            }
            if (first != nullptr) {
                return fail(argumentAt, "duplicate property \"" + argument + "\" (first given at " +
                                            first->format() + ")");
            }
            if (!parseValue(property.value)) {
                return false;
            }
            node.properties.push_back(std::move(property));
        } else {
            return fail(m_Position, "expected '=' or '(' after \"" + argument + "\", " + found());
        }
        skipBlanks();
        if (atEnd()) {
            return missingParenthesis();
        }
        if (peek() == ',') {
            advance();
        } else if (peek() != ')') {
            return fail(m_Position, "expected ',' or ')', " + found());
        }
    }
}

bool RuleParser::parseValue(std::wstring& value) {
    skipBlanks();
    if (!atEnd() && peek() == '"') {
        return parseQuoted(value);
    }
    const std::size_t start = m_Offset;
    std::size_t end = start;
    while (end < m_Text.size() && !endsBareValue(m_Text[end])) {
        ++end;
    }
    if (end == start) {
        return fail(m_Position, "expected a property value after '=', " + found());
    }
    advanceTo(end);
    if (m_DecodeValues) {
        appendWide(m_Text.substr(start, end - start), value);
    }
    return true;
}

bool RuleParser::parseQuoted(std::wstring& value) {
    const SourcePosition open = m_Position;
    advance();
    std::string bytes;
    for (;;) {
        const std::size_t start = m_Offset;
        std::size_t end = start;
        while (end < m_Text.size() && m_Text[end] != '"' && m_Text[end] != '\\' &&
               m_Text[end] != '\n') {
            ++end;
        }
        advanceTo(end);
        if (m_DecodeValues) {
            bytes.append(m_Text.substr(start, end - start));
        }
        if (atEnd() || peek() == '\n') {
            return fail(open, "unterminated string");
        }
        if (peek() == '"') {
            advance();
            break;
        }
        if (!parseEscape(bytes, open)) {
            return false;
        }
    }
    appendWide(bytes, value);
    return true;
}

bool RuleParser::parseEscape(std::string& bytes, SourcePosition open) {
    const SourcePosition at = m_Position;
    advance();
    if (atEnd() || peek() == '\n') {
        return fail(open, "unterminated string");
    }
    const char c = peek();
    switch (c) {
        case '\\':
        case '"':
            bytes += c;
            advance();
            return true;
        case 'n':
            bytes += '\n';
            advance();
            return true;
        case 'r':
            bytes += '\r';
            advance();
            return true;
        case 't':
            bytes += '\t';
            advance();
            return true;
        case 'u':
            advance();
            break;
        default:
            return fail(at, "unknown escape \"\\" + std::string(currentCharacter()) + "\"");
    }
    if (atEnd() || peek() != '{') {
        return fail(at, "expected '{' after \"\\u\", " + found());
    }
    advance();
    std::uint32_t codePoint = 0;
    std::size_t digits = 0;
    while (!atEnd() && std::isxdigit(static_cast<unsigned char>(peek())) && digits < 6) {
        const char d = peek();
        codePoint =
            codePoint * 16 + static_cast<std::uint32_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
        ++digits;
        advance();
    }
    if (digits == 0 || atEnd() || peek() != '}') {
        return fail(at, "\"\\u{\" takes 1 to 6 hexadecimal digits and '}', " + found());
    }
    advance();
    const auto character = static_cast<wchar_t>(codePoint);
    if (codePoint == 0) {
        return fail(at, "\"\\u{0}\" is not allowed: a NUL would end the text");
    }
    std::string encoded;
    if (codePoint > 0x10FFFF || !platform::toUtf8(std::wstring_view(&character, 1), encoded)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", codePoint);
        return fail(at, std::string("\"\\u{") + hex + "}\" is not a Unicode scalar value");
    }
    bytes += encoded;
    return true;
}

}  // namespace corehost
