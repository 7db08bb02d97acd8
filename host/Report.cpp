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

nlohmann::ordered_json explainNode(const ExpressionTree& tree, std::size_t index) {
    const TreeNode& node = tree.nodes()[index];
    const RuleNode& source = *node.source;
    nlohmann::ordered_json json;
    json["expression"] = toUtf8(source.name);
    json["position"] = source.position.format();
    nlohmann::ordered_json properties = nlohmann::ordered_json::object();
    for (const RuleProperty& property : source.properties) {
        properties[toUtf8(property.name)] = toUtf8(property.value);
    }
    json["properties"] = std::move(properties);
    switch (node.state) {
        case NodeState::Succeeded:
            json["state"] = "succeeded";
            json["type"] = node.isVector() ? "vector" : "scalar";
            if (node.isVector()) {
                nlohmann::ordered_json elements = nlohmann::ordered_json::array();
                for (std::int32_t i = 0; i < node.vector.m_Count; ++i) {
                    elements.push_back(toUtf8(view(node.vector[i])));
                }
                json["result"] = std::move(elements);
            } else {
                json["result"] = toUtf8(view(node.scalar));
            }
            break;
        case NodeState::Failed:
            json["state"] = "failed";
            json["status"] = node.code;
            json["error"] = codeMeaning(node.code);
            if (node.propagated) {
                json["propagated"] = true;
            } else if (tree.failure().node == index && !tree.failure().detail.empty()) {
                json["detail"] = tree.failure().detail;
            }
            if (node.handedAsError) {
                json["passedToUpdateWithError"] = true;
            }
            break;
        case NodeState::Skipped:
            json["state"] = "skipped";
            break;
        case NodeState::NotEvaluated:
            json["state"] = "not evaluated";
            break;
    }
    nlohmann::ordered_json children = nlohmann::ordered_json::array();
    for (std::size_t child = index + 1; child < node.end; child = tree.nodes()[child].end) {
        children.push_back(explainNode(tree, child));
    }
    json["children"] = std::move(children);
    return json;
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

nlohmann::ordered_json resultJson(const ExpressionTree& tree, std::int32_t status,
                                  const std::string* rule) {
    nlohmann::ordered_json json;
    if (rule != nullptr) {
        json["rule"] = *rule;
    }
    json["status"] = status;
    if (status == 0) {
        const TreeNode& root = tree.root();
        json["type"] = root.isVector() ? "vector" : "scalar";
        if (root.isVector()) {
            nlohmann::ordered_json elements = nlohmann::ordered_json::array();
            for (std::int32_t i = 0; i < root.vector.m_Count; ++i) {
                elements.push_back(toUtf8(view(root.vector[i])));
            }
            json["result"] = std::move(elements);
        } else {
            json["result"] = toUtf8(view(root.scalar));
        }
        return json;
    }
    const TreeFailure& failure = tree.failure();
    json["error"] = codeMeaning(status);
    json["node"] = nodeLabel(tree.nodes()[failure.node]);
    if (!failure.detail.empty()) {
        json["detail"] = failure.detail;
    }
    return json;
}

std::string explainText(const ExpressionTree& tree, const std::string& indent) {
    std::string out = indent;
    appendExplainLine(tree, 0, false, out);
    std::string prefix = indent;
    appendExplain(tree, 0, prefix, out);
    return out;
}

nlohmann::ordered_json explainJson(const ExpressionTree& tree) {
    return explainNode(tree, 0);
}

std::string dumpJson(const nlohmann::ordered_json& json) {
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace corehost
