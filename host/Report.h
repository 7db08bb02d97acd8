#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "ExpressionTree.h"

namespace corehost {

/// UTF-8 form of wide text for printing; characters without one become U+FFFD.
std::string toUtf8(std::wstring_view text);

/// The text in double quotes with the rule language's escapes, so that it reads on one line and
/// could be pasted back into a rule.
std::string quote(std::wstring_view text);

/// "Name@LINE:COLUMN", how output names a node.
std::string nodeLabel(const TreeNode& node);

/// The result of a successful tree as eval prints it: a scalar and a newline, or one element
/// per line.
std::string plainResult(const TreeNode& root);

/// The result of a successful tree on one line, quoted: "text" or ["a", "b"].
std::string quotedResult(const TreeNode& root);

/// The message of a failed tree: "SOURCE:LINE:COLUMN: [rule NAME: ]Name failed: CODE meaning".
std::string failureMessage(const ExpressionTree& tree, const std::string& source,
                           const std::string* rule);

/// Writes one JSON object, member by member, at the end of a text. Output is written rather
/// than built as a document of the JSON library, whose destruction allocates: under memory
/// pressure that ends the process instead of failing the rule.
class JsonWriter {
public:
    explicit JsonWriter(std::string& out);

    /// A text member; bytes that are not UTF-8 become U+FFFD.
    JsonWriter& string(std::string_view name, std::string_view value);
    JsonWriter& number(std::string_view name, std::int64_t value);
    JsonWriter& boolean(std::string_view name, bool value);
    /// Starts a member whose value the caller appends to the text next, as JSON.
    std::string& member(std::string_view name);
    /// Ends the object.
    void close();

private:
    std::string& m_Out;
    bool m_First = true;
};

/// The JSON object of a run, on one line: status, then type and result, or error and node; with
/// `explain`, the evaluated tree as "explain".
std::string resultJson(const ExpressionTree& tree, std::int32_t status, const std::string* rule,
                       bool explain = false);

/// The evaluated tree drawn one node per line, with properties, results, codes and skips; every
/// line starts with `indent`.
std::string explainText(const ExpressionTree& tree, const std::string& indent = {});

/// The evaluated tree as nested JSON objects, on one line.
std::string explainJson(const ExpressionTree& tree);

/// One JSON text on one line, with invalid UTF-8 replaced rather than thrown about.
std::string dumpJson(const nlohmann::ordered_json& json);

}  // namespace corehost
