#include "RuleParser.h"

#include <platform/utf8.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
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
void appendWide(std::string_view bytes, std::pmr::wstring& out) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            std::wstring decoded;
            platform::appendFromUtf8(bytes, decoded);
            out += decoded;
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
    std::size_t offset = 0;
    while (offset < text.size()) {
        // Runs of ASCII without NUL, the bulk of any rule text, are passed eight bytes at a time.
        constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
        constexpr std::uint64_t kLowBits = 0x0101010101010101ULL;
        std::uint64_t word = 0;
        while (offset + sizeof word <= text.size()) {
            std::memcpy(&word, text.data() + offset, sizeof word);
            if (((word | ((word - kLowBits) & ~word)) & kHighBits) != 0) {
                break;
            }
            offset += sizeof word;
        }
        if (offset >= text.size()) {
            break;
        }
        const auto c = static_cast<unsigned char>(text[offset]);
        std::size_t length = c == 0 ? 0 : sequenceLength(text.substr(offset));
        if (length == 0) {
            // Only now is the place worth counting out.
            SourcePosition position;
            for (std::size_t i = 0; i < offset; ++i) {
                const auto before = static_cast<unsigned char>(text[i]);
                if (before == '\n') {
                    ++position.line;
                    position.column = 1;
                } else if (!isContinuationByte(before)) {
                    ++position.column;
                }
            }
            error = {source, position,
                     c == 0 ? "a NUL character is not allowed"
                            : "invalid UTF-8 sequence starting with byte " + hexByte(c)};
            return false;
        }
        offset += length;
    }
    return true;
}

bool RuleNameIndex::define(std::string_view name, std::size_t hash, const std::string& source,
                           SourcePosition at, std::string& first) {
    if ((m_Definitions.size() + 1) * 2 > m_Slots.size()) {
        rehash(std::max<std::size_t>(64, m_Slots.size() * 2));
    }
    const auto tag = static_cast<std::uint32_t>(hash);
    const std::size_t mask = m_Slots.size() - 1;
    std::size_t slot = hash & mask;
    for (; m_Slots[slot].id != 0; slot = (slot + 1) & mask) {
        const Definition& other = m_Definitions[m_Slots[slot].id - 1];
        if (m_Slots[slot].tag == tag && nameOf(other) == name) {
            first = m_Sources[other.source] + ":" + other.position.format();
            return false;
        }
    }
    if (m_Sources.empty() || m_Sources.back() != source) {
        m_Sources.push_back(source);
    }
    m_Definitions.push_back({m_Names.size(), static_cast<std::uint32_t>(name.size()),
                             static_cast<std::uint32_t>(m_Sources.size() - 1), at});
    m_Names.append(name);
    m_Slots[slot] = {tag, static_cast<std::uint32_t>(m_Definitions.size())};
    return true;
}

void RuleNameIndex::reserve(std::size_t count) {
    std::size_t slots = std::max<std::size_t>(64, m_Slots.size());
    while (slots < count * 2) {
        slots *= 2;
    }
    if (slots > m_Slots.size()) {
        rehash(slots);
    }
    m_Definitions.reserve(count);
}

void RuleNameIndex::rehash(std::size_t slots) {
    std::vector<Slot> table(slots);
    const std::size_t mask = slots - 1;
    for (std::size_t id = 1; id <= m_Definitions.size(); ++id) {
        const std::size_t hash = RuleNameIndex::hash(nameOf(m_Definitions[id - 1]));
        std::size_t slot = hash & mask;
        while (table[slot].id != 0) {
            slot = (slot + 1) & mask;
        }
        table[slot] = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(id)};
    }
    m_Slots = std::move(table);
}

std::vector<std::size_t> catalogSplitPoints(std::string_view text, std::size_t parts) {
    const auto startsRule = [&](std::size_t at) {
        if (at >= text.size() || !isNameStart(text[at])) {
            return false;
        }
        while (at < text.size() && isRuleNameChar(text[at])) {
            ++at;
        }
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
            ++at;
        }
        return at < text.size() && text[at] == '=';
    };
    std::vector<std::size_t> points{0};
    for (std::size_t part = 1; part < parts; ++part) {
        std::size_t at = std::max(points.back(), text.size() / parts * part);
        for (;;) {
            at = text.find('\n', at);
            if (at == std::string_view::npos) {
                break;
            }
            ++at;
            if (startsRule(at)) {
                points.push_back(at);
                break;
            }
        }
        if (at == std::string_view::npos) {
            break;
        }
    }
    points.push_back(text.size());
    return points;
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
    // Only runs without a line feed come here, so the column is all that moves. Counted in
    // locals, the loop is free of stores and the compiler can vectorise it.
    const char* text = m_Text.data();
    std::uint32_t columns = 0;
    for (std::size_t i = m_Offset; i < end; ++i) {
        columns += isContinuationByte(static_cast<unsigned char>(text[i])) ? 0 : 1;
    }
    m_Position.column += columns;
    m_Offset = end;
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
        if (c == '\n') {
            advance();
        } else if (isBlank(c)) {
            ++m_Offset;
            ++m_Position.column;
        } else if (c == '#') {
            const std::size_t lineEnd = m_Text.find('\n', m_Offset);
            advanceTo(lineEnd == std::string_view::npos ? m_Text.size() : lineEnd);
        } else {
            break;
        }
    }
}

std::string_view RuleParser::readName() {
    if (atEnd() || !isNameStart(peek())) {
        return {};
    }
    const std::size_t start = m_Offset;
    std::size_t end = start;
    while (end < m_Text.size() && isNameChar(m_Text[end])) {
        ++end;
    }
    advanceTo(end);
    return m_Text.substr(start, end - start);
}

bool RuleParser::parseExpression(RuleNode& root) {
    if (!parseNode(&root, 1)) {
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
    return parseNode(&root, 1);
}

bool RuleParser::parseCatalog(std::vector<RuleEntry>& rules, RuleNameIndex* names,
                              const ExpressionNameUse& onName) {
    m_OnName = onName ? &onName : nullptr;
    std::string first;
    for (;;) {
        skipBlanks();
        if (atEnd()) {
            m_OnName = nullptr;
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
        const std::string_view name = m_Text.substr(start, m_Offset - start);
        if (names != nullptr && !names->define(name, m_Source, entry.namePosition, first)) {
            return fail(entry.namePosition, "duplicate rule \"" + std::string(name) +
                                                "\" (first defined at " + first + ")");
        }
        skipBlanks();
        if (atEnd() || peek() != '=') {
            return fail(m_Position, "expected '=' after the rule name \"" + std::string(name) +
                                        "\", " + found());
        }
        advance();
        skipBlanks();
        entry.expressionOffset = m_Offset;
        entry.expressionPosition = m_Position;
        if (!parseNode(nullptr, 1)) {
            return false;
        }
        skipBlanks();
        if (!atEnd() && peek() == ';') {
            advance();
        }
        entry.name.assign(name);
        rules.push_back(std::move(entry));
    }
}

bool RuleParser::parseNode(RuleNode* node, std::uint32_t depth) {
    skipBlanks();
    const SourcePosition at = m_Position;
    const std::string_view name = readName();
    if (name.empty()) {
        return fail(at, "expected an expression name, " + found());
    }
    if (depth > kMaxNesting) {
        return fail(at, "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
    }
    return parseArguments(node, name, at, depth);
}

namespace {

// The property names given to one expression, for finding one given twice: a few are scanned,
// more are indexed.
class PropertyNames {
public:
    const SourcePosition* find(std::string_view name) const {
        for (std::size_t i = 0; i < m_Count; ++i) {
            if (m_First[i].first == name) {
                return &m_First[i].second;
            }
        }
        const auto found = m_Index.find(name);
        return found == m_Index.end() ? nullptr : &found->second;
    }

    void add(std::string_view name, SourcePosition at) {
        if (m_Count < m_First.size()) {
            m_First[m_Count++] = {name, at};
        } else {
            m_Index.emplace(name, at);
        }
    }

private:
    std::array<std::pair<std::string_view, SourcePosition>, 8> m_First;
    std::size_t m_Count = 0;
    std::unordered_map<std::string_view, SourcePosition> m_Index;
};

}  // namespace

bool RuleParser::parseArguments(RuleNode* node, std::string_view name, SourcePosition at,
                                std::uint32_t depth) {
    if (m_OnName != nullptr) {
        (*m_OnName)(name, at);
    }
    if (node != nullptr) {
        appendWide(name, node->name);
        node->position = at;
    }
    skipBlanks();
    if (atEnd() || peek() != '(') {
        return fail(m_Position, "expected '(' after \"" + std::string(name) + "\", " + found());
    }
    advance();
    const auto missingParenthesis = [&] {
        return fail(m_Position,
                    "missing ')' to close \"" + std::string(name) + "(\" opened at " + at.format());
    };
    PropertyNames given;
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
        const std::string_view argument = readName();
        if (argument.empty()) {
            return fail(argumentAt, "expected a property or a child expression, " + found());
        }
        skipBlanks();
        if (!atEnd() && peek() == '(') {
            if (depth + 1 > kMaxNesting) {
                return fail(argumentAt,
                            "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
            }
            RuleNode* child = nullptr;
            if (node != nullptr) {
                child = &node->children.emplace_back();
            }
            if (!parseArguments(child, argument, argumentAt, depth + 1)) {
                return false;
            }
        } else if (!atEnd() && peek() == '=') {
            advance();
            if (const SourcePosition* first = given.find(argument)) {
                return fail(argumentAt, "duplicate property \"" + std::string(argument) +
                                            "\" (first given at " + first->format() + ")");
            }
            given.add(argument, argumentAt);
            if (node == nullptr) {
                if (!parseValue(nullptr)) {
                    return false;
                }
            } else {
                RuleProperty& property = node->properties.emplace_back();
                property.position = argumentAt;
                appendWide(argument, property.name);
                if (!parseValue(&property.value)) {
                    return false;
                }
            }
        } else {
            return fail(m_Position,
                        "expected '=' or '(' after \"" + std::string(argument) + "\", " + found());
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

bool RuleParser::parseValue(std::pmr::wstring* value) {
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
    if (value != nullptr) {
        appendWide(m_Text.substr(start, end - start), *value);
    }
    return true;
}

bool RuleParser::parseQuoted(std::pmr::wstring* value) {
    const SourcePosition open = m_Position;
    advance();
    std::string bytes;
    std::string* decoded = value != nullptr ? &bytes : nullptr;
    for (;;) {
        const std::size_t start = m_Offset;
        std::size_t end = start;
        while (end < m_Text.size() && m_Text[end] != '"' && m_Text[end] != '\\' &&
               m_Text[end] != '\n') {
            ++end;
        }
        advanceTo(end);
        if (decoded != nullptr) {
            bytes.append(m_Text.substr(start, end - start));
        }
        if (atEnd() || peek() == '\n') {
            return fail(open, "unterminated string");
        }
        if (peek() == '"') {
            advance();
            break;
        }
        if (!parseEscape(decoded, open)) {
            return false;
        }
    }
    if (value != nullptr) {
        appendWide(bytes, *value);
    }
    return true;
}

bool RuleParser::parseEscape(std::string* bytes, SourcePosition open) {
    std::string ignored;
    std::string& out = bytes != nullptr ? *bytes : ignored;
    const SourcePosition at = m_Position;
    advance();
    if (atEnd() || peek() == '\n') {
        return fail(open, "unterminated string");
    }
    const char c = peek();
    switch (c) {
        case '\\':
        case '"':
            out += c;
            advance();
            return true;
        case 'n':
            out += '\n';
            advance();
            return true;
        case 'r':
            out += '\r';
            advance();
            return true;
        case 't':
            out += '\t';
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
    out += encoded;
    return true;
}

}  // namespace corehost
