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
// the mount table from there on. Texts are quoted as the host quotes them: escapes for controls,
// quotes and backslashes, UTF-8 for the rest.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <list>

#include "CorePlugin.h"
#include "Report.h"
#include "RuleParser.h"
#include "harness/Harness.h"
#include "harness/ScratchTree.h"

namespace {

using harness::Outcome;

/// What the alarm prints when a case hangs: the place of the case being evaluated.
char g_HangMessage[512];

void reportHang(int) {
    (void)!write(STDERR_FILENO, g_HangMessage, std::strlen(g_HangMessage));
    _exit(1);
}

/// One expression of a case's tree, built once and evaluated as often as asked.
struct Node {
    PluginSDK::Plugin& plugin;
    PluginSDK::Expression* expression = nullptr;
    std::list<Node> children;

    explicit Node(PluginSDK::Plugin& owner) : plugin(owner) {}
    ~Node() {
        if (expression != nullptr) {
            plugin.destroyExpression(expression);
        }
    }
    bool isVector() const { return expression->getType() == PluginSDK::Expression::TYPE_VECTOR; }
    void dispose() {
        expression->disposeExpression();
        for (Node& child : children) {
            child.dispose();
        }
    }
};

std::int32_t build(Node& node, const corehost::RuleNode& rule) {
    if (const std::int32_t code =
            node.plugin.createExpression(rule.name.c_str(), &node.expression)) {
        return code;
    }
    for (const corehost::RuleProperty& property : rule.properties) {
        node.expression->setProperty(property.name.c_str(), property.value.c_str());
    }
    for (const corehost::RuleNode& child : rule.children) {
        if (const std::int32_t code = build(node.children.emplace_back(node.plugin), child)) {
            return code;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

Outcome evaluate(Node& node, const std::wstring& previous);

/// Hands the children's results to an operator as a host does: in order, until it is ready; a
/// failed child fails the operator unless it carries on after errors.
template <class Operator>
std::int32_t feed(Operator& op, Node& node) {
    for (auto child = node.children.begin(); child != node.children.end() && !op.isReady();
         ++child) {
        const Outcome outcome = evaluate(*child, L"");
        if (outcome.code != PluginSDK::RC_SUCCESS && !op.continueOnError()) {
            return outcome.code;
        }
        const std::int32_t code =
            outcome.code != PluginSDK::RC_SUCCESS ? op.updateWithError(outcome.code)
            : child->isVector() ? op.update(harness::toStringVector(outcome.results))
                                : op.update(PluginSDK::String(outcome.result.c_str()));
        if (code != PluginSDK::RC_SUCCESS) {
            return code;
        }
    }
    return PluginSDK::RC_SUCCESS;
}

Outcome evaluate(Node& node, const std::wstring& previous) {
    PluginSDK::Expression& expression = *node.expression;
    const std::int32_t fed = !expression.isOperator() ? PluginSDK::RC_SUCCESS
                             : node.isVector()
                                 ? feed(static_cast<PluginSDK::VectorOperator&>(expression), node)
                                 : feed(static_cast<PluginSDK::ScalarOperator&>(expression), node);
    return fed != PluginSDK::RC_SUCCESS ? Outcome{fed, L"", {}}
                                        : harness::result(expression, previous);
}

/// An answer written the way cases write it.
std::string format(const Outcome& outcome, bool vector, bool withText) {
    std::string text = vector ? "" : corehost::quote(outcome.result);
    for (const std::wstring& element : outcome.results) {
        text += (text.empty() ? "" : ", ") + corehost::quote(element);
    }
    text = vector ? "[" + text + "]" : text;
    return outcome.code == PluginSDK::RC_SUCCESS
               ? text
               : std::to_string(outcome.code) + (withText ? " " + text : "");
}

/// The messages as indented `trace` lines of a case file.
std::string formatTrace(const std::vector<harness::TraceMessage>& messages) {
    std::string lines;
    for (const harness::TraceMessage& m : messages) {
        lines += "    trace " + m.file.substr(m.file.rfind('/') + 1) + ":" +
                 std::to_string(m.line) + ": " +
                 (m.level == 1 ? "" : "(level " + std::to_string(m.level) + ") ") + m.text + "\n";
    }
    return lines.empty() ? "    trace none\n" : lines;
}

/// One case as written: the rule, the expected answer and, if given, the expected messages.
struct Case {
    std::string file;
    int line = 0;
    std::string rule;
    std::string expected;
    std::string trace;  // empty: not checked
};

std::string substitute(std::string line, const std::string& scratch) {
    for (const auto& [name, value] :
         {std::pair<std::string, std::string>{"%fixtures", COREPLUGIN_FIXTURES},
          {"%scratch", scratch}}) {
        for (std::size_t at; (at = line.find(name)) != std::string::npos;) {
            line.replace(at, name.size(), value);
        }
    }
    return line;
}

int readLine(const std::string& path, int number, const std::string& line,
             std::vector<Case>& cases) {
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t arrow = line.rfind(" => ");
    if (first == std::string::npos || line[first] == '#') {
        return 0;
    } else if (first > 0 && !cases.empty() && line.compare(first, 6, "trace ") == 0) {
        cases.back().trace += "    " + line.substr(first) + "\n";
    } else if (line.compare(0, 8, "%mounts ") == 0 || (first == 0 && arrow != std::string::npos)) {
        const std::string expected = arrow == std::string::npos ? "" : line.substr(arrow + 4);
        cases.push_back({path, number, line.substr(0, arrow), expected, ""});
    } else {
        std::cerr << path << ":" << number << ": not a case: " << line << "\n";
        return 1;
    }
    return 0;
}

bool report(const Case& c, const std::string& actual) {
    std::cerr << c.file << ":" << c.line << ": " << c.rule << "\n  expected " << c.expected << "\n"
              << c.trace << "  answered " << actual << "\n";
    return false;
}

bool evaluateCase(PluginSDK::CorePlugin& plugin, const Case& c) {
    if (c.rule.compare(0, 8, "%mounts ") == 0) {
        // The plug-in owns its table; tests point it at a fixture instead of this machine's.
        auto* mounts = const_cast<mountlist*>(plugin.getMountList());
        return mounts->Initialize(c.rule.c_str() + 8) == 0 || report(c, "unreadable table");
    }
    corehost::RuleNode rule;
    corehost::RuleParser parser(c.rule, c.file);
    corehost::Diagnostic invalid;
    if (!corehost::validateText(c.rule, c.file, invalid)) {
        return report(c, "is not valid text: " + invalid.format());
    }
    if (!parser.parseExpression(rule)) {
        return report(c, "does not parse: " + parser.error().format());
    }
    Node root(plugin);
    if (const std::int32_t code = build(root, rule)) {
        return report(c, "cannot be built: " + std::to_string(code));
    }
    const bool withText =
        c.expected.find(' ') != std::string::npos && c.expected[0] != '"' && c.expected[0] != '[';
    for (int run = 0; run < 2; ++run) {
        harness::TraceCapture capture;
        const Outcome outcome = evaluate(root, L"stale");
        root.dispose();
        const std::string answer = format(outcome, root.isVector(), withText);
        const std::string trace = formatTrace(capture.messages);
        if (answer != c.expected || (!c.trace.empty() && trace != c.trace)) {
            return report(c, (run == 0 ? "" : "on the second evaluation: ") + answer + "\n" +
                                 (c.trace.empty() ? "" : trace));
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGALRM, reportHang);
    const ScratchTree scratch;
    PluginSDK::CorePlugin plugin;
    plugin.initializePlugin();
    std::vector<Case> cases;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i]);
        if (!in) {
            std::cerr << argv[i] << ": cannot be read\n";
            ++failures;
        }
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            failures +=
                readLine(argv[i], ++number, substitute(line, scratch.root().string()), cases);
        }
    }
    for (const Case& c : cases) {
        std::snprintf(g_HangMessage, sizeof g_HangMessage,
                      "%s:%d: the case did not end within 60 s\n", c.file.c_str(), c.line);
        alarm(60);
        failures += evaluateCase(plugin, c) ? 0 : 1;
        alarm(0);
    }
    if (failures != 0) {
        std::cerr << failures << " case(s) failed\n";
    }
    return failures == 0 ? 0 : 1;
}
