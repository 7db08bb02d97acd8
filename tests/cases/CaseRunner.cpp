// Runs expression cases written as data: each case is a rule of the rule language and what it
// must answer, one line each, evaluated in process through the plug-in's factory:
//
//   StringCrop(inputString="key=[a] x=[b]", startString="[", endString="]", seekFrom=left) => "a"
//   Sort(Vector(filter=b;a)) => ["a", "b"]
//   Clip(inputString=abc, startIndex=-1, endIndex=0) => -11039 ""
//       trace Clip.cpp:68: Error: indexes should be >=  than zero
//
// The answer is a text, a list, or a failure code optionally followed by what the result
// parameter holds after the call; that parameter holds "stale" (a list: one "stale") before it,
// so a case shows whether an expression replaces, appends to or keeps it. Indented `trace` lines
// list every message the evaluation traces, in order (`trace none`: no message); without them
// messages are not checked. Every case is evaluated twice on the same nodes, disposed between,
// and both answers must match.
//
// In rule text %fixtures is the fixture directory and %scratch a scratch tree of one entry of
// each kind (see ScratchTree.h). A line `%mounts FILE` makes the mount expressions read FILE as
// the mount table from there on.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CorePlugin.h"
#include "RuleParser.h"
#include "harness/Harness.h"
#include "harness/ScratchTree.h"

namespace {

using harness::Outcome;

/// The place of the case being evaluated, for the alarm that ends a case that hangs.
char g_CurrentCase[512];

void reportHang(int) {
    const char text[] = ": the case did not end within 60 s\n";
    (void)!write(STDERR_FILENO, g_CurrentCase, std::strlen(g_CurrentCase));
    (void)!write(STDERR_FILENO, text, sizeof text - 1);
    _exit(1);
}
using harness::TraceCapture;

/// One expression of a case's tree, built once and evaluated as often as asked.
struct Node {
    PluginSDK::Plugin* plugin = nullptr;
    PluginSDK::Expression* expression = nullptr;
    std::vector<std::unique_ptr<Node>> children;

    ~Node() {
        if (expression != nullptr) {
            plugin->destroyExpression(expression);
        }
    }
    bool isVector() const { return expression->getType() == PluginSDK::Expression::TYPE_VECTOR; }
    void dispose() {
        expression->disposeExpression();
        for (auto& child : children) {
            child->dispose();
        }
    }
};

std::int32_t build(PluginSDK::Plugin& plugin, const corehost::RuleNode& rule,
                   std::unique_ptr<Node>& node) {
    node = std::make_unique<Node>();
    node->plugin = &plugin;
    const std::int32_t code = plugin.createExpression(rule.name.c_str(), &node->expression);
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    for (const corehost::RuleProperty& property : rule.properties) {
        node->expression->setProperty(property.name.c_str(), property.value.c_str());
    }
    for (const corehost::RuleNode& child : rule.children) {
        node->children.emplace_back();
        if (const std::int32_t failed = build(plugin, child, node->children.back())) {
            return failed;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

Outcome evaluate(Node& node, const std::wstring& previous);

/// Hands the children's results to an operator as a host does: in order, until it is ready; a
/// failed child fails the operator unless it carries on after errors.
template <class Operator>
std::int32_t feed(Operator& op, Node& node) {
    for (auto& child : node.children) {
        if (op.isReady()) {
            break;
        }
        const Outcome outcome = evaluate(*child, L"");
        std::int32_t code = 0;
        if (outcome.code != PluginSDK::RC_SUCCESS) {
            if (!op.continueOnError()) {
                return outcome.code;
            }
            code = op.updateWithError(outcome.code);
        } else if (child->isVector()) {
            code = op.update(harness::toStringVector(outcome.results));
        } else {
            code = op.update(PluginSDK::String(outcome.result.c_str()));
        }
        if (code != PluginSDK::RC_SUCCESS) {
            return code;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

Outcome evaluate(Node& node, const std::wstring& previous) {
    PluginSDK::Expression& expression = *node.expression;
    if (expression.isOperator()) {
        const std::int32_t fed =
            node.isVector() ? feed(static_cast<PluginSDK::VectorOperator&>(expression), node)
                            : feed(static_cast<PluginSDK::ScalarOperator&>(expression), node);
        if (fed != PluginSDK::RC_SUCCESS) {
            return Outcome{fed, L"", {}};
        }
    }
    return harness::result(expression, previous);
}

/// A text as the rule language writes it: quoted, with \" \\ \n \r \t and \u{HEX} escapes.
std::string quote(const std::wstring& text) {
    std::string quoted = "\"";
    for (const wchar_t c : text) {
        switch (c) {
            case L'"':
                quoted += "\\\"";
                break;
            case L'\\':
                quoted += "\\\\";
                break;
            case L'\n':
                quoted += "\\n";
                break;
            case L'\r':
                quoted += "\\r";
                break;
            case L'\t':
                quoted += "\\t";
                break;
            default:
                if (c < 0x20 || c > 0x7e) {
                    char hex[16];
                    std::snprintf(hex, sizeof hex, "\\u{%X}", static_cast<unsigned>(c));
                    quoted += hex;
                } else {
                    quoted += static_cast<char>(c);
                }
        }
    }
    return quoted + "\"";
}

/// An answer written the way cases write it.
std::string format(const Outcome& outcome, bool vector, bool withText) {
    if (outcome.code != PluginSDK::RC_SUCCESS) {
        return std::to_string(outcome.code) +
               (withText ? " " + (vector ? format({0, L"", outcome.results}, true, false)
                                         : quote(outcome.result))
                         : "");
    }
    if (!vector) {
        return quote(outcome.result);
    }
    std::string list = "[";
    for (const std::wstring& text : outcome.results) {
        list += (list.size() > 1 ? ", " : "") + quote(text);
    }
    return list + "]";
}

std::string formatTrace(const std::vector<harness::TraceMessage>& messages) {
    std::string lines;
    for (const harness::TraceMessage& m : messages) {
        lines += "trace " + m.file.substr(m.file.rfind('/') + 1) + ":" + std::to_string(m.line) +
                 ": " + (m.level == 1 ? "" : "(level " + std::to_string(m.level) + ") ") + m.text +
                 "\n";
    }
    return lines.empty() ? "trace none\n" : lines;
}

/// One case as written: the rule, the expected answer and, if given, the expected messages.
struct Case {
    std::string file;
    int line = 0;
    std::string rule;
    std::string expected;
    std::string trace;   // empty: not checked
    std::string mounts;  // for a %mounts line: the mount table to read from here on
};

class Runner {
public:
    explicit Runner(const std::string& fixtures) : m_Fixtures(fixtures) {
        m_Plugin.initializePlugin();
    }

    /// Runs every case of `path`; returns the number that failed.
    int runFile(const std::string& path) {
        std::ifstream in(path);
        if (!in) {
            std::cerr << path << ": cannot be read\n";
            return 1;
        }
        std::vector<Case> cases;
        int number = 0, failures = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            failures += readLine(path, number, substitute(line), cases);
        }
        for (const Case& c : cases) {
            failures += check(c) ? 0 : 1;
        }
        return failures;
    }

private:
    std::string substitute(std::string line) const {
        for (const auto& [name, value] :
             {std::pair<std::string, std::string>{"%fixtures", m_Fixtures},
              {"%scratch", m_Scratch.root().string()}}) {
            for (std::size_t at = 0; (at = line.find(name, at)) != std::string::npos;) {
                line.replace(at, name.size(), value);
                at += value.size();
            }
        }
        return line;
    }

    int readLine(const std::string& path, int number, const std::string& line,
                 std::vector<Case>& cases) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            return 0;
        }
        if (first > 0 && !cases.empty() && line.compare(first, 6, "trace ") == 0) {
            cases.back().trace += line.substr(first) + "\n";
            return 0;
        }
        if (line.compare(0, 8, "%mounts ") == 0) {
            cases.push_back({path, number, "", "", "", line.substr(8)});
            return 0;
        }
        const std::size_t arrow = line.rfind(" => ");
        if (first > 0 || arrow == std::string::npos) {
            std::cerr << path << ":" << number << ": not a case: " << line << "\n";
            return 1;
        }
        cases.push_back({path, number, line.substr(0, arrow), line.substr(arrow + 4), "", ""});
        return 0;
    }

    bool check(const Case& c) {
        std::snprintf(g_CurrentCase, sizeof g_CurrentCase, "%s:%d", c.file.c_str(), c.line);
        alarm(60);
        const bool passed = evaluateCase(c);
        alarm(0);
        return passed;
    }

    bool evaluateCase(const Case& c) {
        if (!c.mounts.empty()) {
            // The plug-in owns its table; tests point it at a fixture instead of this machine's.
            auto* mounts = const_cast<mountlist*>(m_Plugin.getMountList());
            return mounts->Initialize(c.mounts.c_str()) == 0 || report(c, "unreadable table");
        }
        corehost::RuleNode rule;
        corehost::RuleParser parser(c.rule, c.file);
        std::unique_ptr<Node> root;
        corehost::Diagnostic invalid;
        if (!corehost::validateText(c.rule, c.file, invalid)) {
            return report(c, "is not valid text: " + invalid.format());
        }
        if (!parser.parseExpression(rule)) {
            return report(c, "does not parse: " + parser.error().format());
        }
        if (const std::int32_t code = build(m_Plugin, rule, root)) {
            return report(c, "cannot be built: " + std::to_string(code));
        }
        const bool withText = c.expected.find(' ') != std::string::npos && c.expected[0] != '"' &&
                              c.expected[0] != '[';
        for (int run = 0; run < 2; ++run) {
            TraceCapture capture;
            const Outcome outcome = evaluate(*root, L"stale");
            root->dispose();
            const std::string answer = format(outcome, root->isVector(), withText);
            const std::string trace = formatTrace(capture.messages);
            if (answer != c.expected || (!c.trace.empty() && trace != c.trace)) {
                return report(c, (run == 0 ? "" : "on the second evaluation: ") + answer + "\n" +
                                     (c.trace.empty() ? "" : indented(trace)));
            }
        }
        return true;
    }

    static bool report(const Case& c, const std::string& actual) {
        std::cerr << c.file << ":" << c.line << ": " << c.rule << "\n  expected " << c.expected
                  << "\n"
                  << indented(c.trace) << "  answered " << actual << "\n";
        return false;
    }

    static std::string indented(const std::string& lines) {
        std::string text;
        std::istringstream in(lines);
        for (std::string line; std::getline(in, line);) {
            text += "    " + line + "\n";
        }
        return text;
    }

    std::string m_Fixtures;
    ScratchTree m_Scratch;
    PluginSDK::CorePlugin m_Plugin;
};

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGALRM, reportHang);
    Runner runner(COREPLUGIN_FIXTURES);
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        failures += runner.runFile(argv[i]);
    }
    if (failures != 0) {
        std::cerr << failures << " case(s) failed\n";
    }
    return failures == 0 ? 0 : 1;
}
