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

/// The JSON object of a run: status, then type and result, or error and node.
nlohmann::ordered_json resultJson(const ExpressionTree& tree, std::int32_t status,
                                  const std::string* rule);

/// The evaluated tree drawn one node per line, with properties, results, codes and skips; every
/// line starts with `indent`.
std::string explainText(const ExpressionTree& tree, const std::string& indent = {});

/// The evaluated tree as nested JSON objects.
nlohmann::ordered_json explainJson(const ExpressionTree& tree);

/// One JSON text on one line, with invalid UTF-8 replaced rather than thrown about.
std::string dumpJson(const nlohmann::ordered_json& json);

}  // namespace corehost
