#include "Report.h"

#include <platform/utf8.h>

#include <cstdio>
#include <vector>

namespace corehost {

namespace {

bool needsEscape(wchar_t c) {
    return c < 0x20 || c == 0x7F || c == L'"' || c == L'\\' || !platform::isScalarValue(c);
}

void appendEscape(wchar_t c, std::string& out) {
    switch (c) {
        case L'"':
            out += "\\\"";
            return;
        case L'\\':
            out += "\\\\";
            return;
        case L'\n':
            out += "\\n";
            return;
        case L'\r':
            out += "\\r";
            return;
        case L'\t':
            out += "\\t";
            return;
        default: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\u{%X}", static_cast<std::uint32_t>(c));
            out += buffer;
        }
    }
}

void appendQuoted(std::wstring_view text, std::string& out) {
    out += '"';
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (needsEscape(text[i])) {
            platform::appendUtf8Lossy(text.substr(start, i - start), out);
            appendEscape(text[i], out);
            start = i + 1;
        }
    }
    platform::appendUtf8Lossy(text.substr(start), out);
    out += '"';
}

std::wstring_view view(const PluginSDK::String& text) {
    return {static_cast<const wchar_t*>(text), static_cast<std::size_t>(text.length())};
}

void appendQuotedResult(const TreeNode& node, std::string& out) {
    if (!node.isVector()) {
        appendQuoted(view(node.scalar), out);
        return;
    }
    out += '[';
    for (std::int32_t i = 0; i < node.vector.m_Count; ++i) {
        if (i > 0) {
            out += ", ";
        }
        appendQuoted(view(node.vector[i]), out);
    }
    out += ']';
}

void appendCode(std::int32_t code, std::string& out) {
    out += std::to_string(code);
    out += ' ';
    out += codeMeaning(code);
}

// Nodes that a ready ancestor skipped are told apart from the one child it skipped directly.
void appendExplainLine(const ExpressionTree& tree, std::size_t index, bool parentSkipped,
                       std::string& out) {
    const TreeNode& node = tree.nodes()[index];
    const RuleNode& source = *node.source;
    out += toUtf8(source.name);
    if (!source.properties.empty()) {
        out += '(';
        for (std::size_t i = 0; i < source.properties.size(); ++i) {
            if (i > 0) {
                out += ", ";
            }
            out += toUtf8(source.properties[i].name);
            out += '=';
            appendQuoted(source.properties[i].value, out);
        }
        out += ')';
    }
    out += " @";
    out += source.position.format();
    switch (node.state) {
        case NodeState::Succeeded:
            out += " => ";
            appendQuotedResult(node, out);
            break;
        case NodeState::Failed:
            out += " failed: ";
            appendCode(node.code, out);
            if (node.propagated) {
                out += " (passed on from a child)";
            } else if (tree.failure().node == index && !tree.failure().detail.empty()) {
                out += " (" + tree.failure().detail + ")";
            }
            if (node.handedAsError) {
                out += "; handed to the parent's updateWithError";
            }
            break;
        case NodeState::Skipped:
            out += parentSkipped ? " skipped" : " skipped: the parent was ready";
            break;
        case NodeState::NotEvaluated:
            out += " not evaluated";
            break;
    }
    out += '\n';
}

void appendExplain(const ExpressionTree& tree, std::size_t index, std::string& prefix,
                   std::string& out) {
    const TreeNode& node = tree.nodes()[index];
    const bool skipped = node.state == NodeState::Skipped;
    for (std::size_t child = index + 1; child < node.end;) {
        const std::size_t next = tree.nodes()[child].end;
        const bool last = next >= node.end;
        out += prefix;
        out += last ? "└─ " : "├─ ";
        appendExplainLine(tree, child, skipped, out);
        const std::size_t length = prefix.size();
        prefix += last ? "   " : "│  ";
        appendExplain(tree, child, prefix, out);
        prefix.resize(length);
        child = next;
    }
}

void appendJsonString(std::string_view text, std::string& out) {
    // Only UTF-8 goes out, whatever a plug-in's exception said.
    std::string valid;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            platform::appendUtf8Lossy(platform::fromUtf8(text), valid);
            text = valid;
            break;
        }
    }
    out += '"';
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                    out += buffer;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void appendJsonArray(const PluginSDK::StringVector& vector, std::string& out) {
    out += '[';
    for (std::int32_t i = 0; i < vector.m_Count; ++i) {
        if (i > 0) {
            out += ',';
        }
        appendJsonString(toUtf8(view(vector[i])), out);
    }
    out += ']';
}

void appendExplainJson(const ExpressionTree& tree, std::size_t index, std::string& out) {
    const TreeNode& node = tree.nodes()[index];
    const RuleNode& source = *node.source;
    JsonWriter json(out);
    json.string("expression", toUtf8(source.name));
    json.string("position", source.position.format());
    JsonWriter properties(json.member("properties"));
    for (const RuleProperty& property : source.properties) {
        properties.string(toUtf8(property.name), toUtf8(property.value));
    }
    properties.close();
    switch (node.state) {
        case NodeState::Succeeded:
            json.string("state", "succeeded");
            json.string("type", node.isVector() ? "vector" : "scalar");
            if (node.isVector()) {
                appendJsonArray(node.vector, json.member("result"));
            } else {
                json.string("result", toUtf8(view(node.scalar)));
            }
            break;
        case NodeState::Failed:
            json.string("state", "failed");
            json.number("status", node.code);
            json.string("error", codeMeaning(node.code));
            if (node.propagated) {
                json.boolean("propagated", true);
            } else if (tree.failure().node == index && !tree.failure().detail.empty()) {
                json.string("detail", tree.failure().detail);
            }
            if (node.handedAsError) {
                json.boolean("passedToUpdateWithError", true);
            }
            break;
        case NodeState::Skipped:
            json.string("state", "skipped");
            break;
        case NodeState::NotEvaluated:
            json.string("state", "not evaluated");
            break;
    }
    json.member("children") += '[';
    for (std::size_t child = index + 1; child < node.end; child = tree.nodes()[child].end) {
        if (child != index + 1) {
            out += ',';
        }
        appendExplainJson(tree, child, out);
    }
    out += ']';
    json.close();
}

}  // namespace

std::string toUtf8(std::wstring_view text) {
    std::string out;
    platform::appendUtf8Lossy(text, out);
    return out;
}

std::string quote(std::wstring_view text) {
    std::string out;
    appendQuoted(text, out);
    return out;
}

std::string nodeLabel(const TreeNode& node) {
    return toUtf8(node.source->name) + "@" + node.source->position.format();
}

std::string plainResult(const TreeNode& root) {
    std::string out;
    if (!root.isVector()) {
        platform::appendUtf8Lossy(view(root.scalar), out);
        out += '\n';
        return out;
    }
    for (std::int32_t i = 0; i < root.vector.m_Count; ++i) {
        platform::appendUtf8Lossy(view(root.vector[i]), out);
        out += '\n';
    }
    return out;
}

std::string quotedResult(const TreeNode& root) {
    std::string out;
    appendQuotedResult(root, out);
    return out;
}

std::string failureMessage(const ExpressionTree& tree, const std::string& source,
                           const std::string* rule) {
    const TreeFailure& failure = tree.failure();
    const TreeNode& node = tree.nodes()[failure.node];
    std::string out = source + ":" + node.source->position.format() + ": ";
    if (rule != nullptr) {
        out += "rule " + *rule + ": ";
    }
    out += toUtf8(node.source->name) + " failed: ";
    appendCode(failure.code, out);
    if (!failure.detail.empty()) {
        out += " (" + failure.detail + ")";
    }
    return out;
}

JsonWriter::JsonWriter(std::string& out) : m_Out(out) {
    m_Out += '{';
}

std::string& JsonWriter::member(std::string_view name) {
    if (!m_First) {
        m_Out += ',';
    }
    m_First = false;
    appendJsonString(name, m_Out);
    m_Out += ':';
    return m_Out;
}

JsonWriter& JsonWriter::string(std::string_view name, std::string_view value) {
    appendJsonString(value, member(name));
    return *this;
}

JsonWriter& JsonWriter::number(std::string_view name, std::int64_t value) {
    member(name) += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(std::string_view name, bool value) {
    member(name) += value ? "true" : "false";
    return *this;
}

void JsonWriter::close() {
    m_Out += '}';
}

std::string resultJson(const ExpressionTree& tree, std::int32_t status, const std::string* rule,
                       bool explain) {
    std::string out;
    JsonWriter json(out);
    if (rule != nullptr) {
        json.string("rule", *rule);
    }
    json.number("status", status);
    if (status == 0) {
        const TreeNode& root = tree.root();
        json.string("type", root.isVector() ? "vector" : "scalar");
        if (root.isVector()) {
            appendJsonArray(root.vector, json.member("result"));
        } else {
            json.string("result", toUtf8(view(root.scalar)));
        }
    } else {
        const TreeFailure& failure = tree.failure();
        json.string("error", codeMeaning(status));
        json.string("node", nodeLabel(tree.nodes()[failure.node]));
        if (!failure.detail.empty()) {
            json.string("detail", failure.detail);
        }
    }
    if (explain) {
        appendExplainJson(tree, 0, json.member("explain"));
    }
    json.close();
    return out;
}

std::string explainText(const ExpressionTree& tree, const std::string& indent) {
    std::string out = indent;
    appendExplainLine(tree, 0, false, out);
    std::string prefix = indent;
    appendExplain(tree, 0, prefix, out);
    return out;
}

std::string explainJson(const ExpressionTree& tree) {
    std::string out;
    appendExplainJson(tree, 0, out);
    return out;
}

std::string dumpJson(const nlohmann::ordered_json& json) {
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace corehost
