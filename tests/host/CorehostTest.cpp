// corehost as a user runs it: a child process, its standard output, standard error and exit
// status.

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "RunCorehost.h"

namespace {

namespace fs = std::filesystem;
using corehost_test::corehost;
using corehost_test::slurp;
using Result = corehost_test::Process;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

/// A scratch directory of rule files and plug-in directories that every test shares.
class CorehostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "corehost-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        directory = pattern;
        std::string deepest, large;
        for (int i = 1; i < 1000; ++i) {
            deepest += "Count(";
        }
        deepest += "Text()" + std::string(999, ')');
        for (int i = 0; i < 100000; ++i) {
            large += "rule" + std::to_string(i) + " = Text(value=" + std::to_string(i) + ")\n";
            largeOut += "rule" + std::to_string(i) + " = \"" + std::to_string(i) + "\"\n";
        }
        const std::pair<const char*, std::string> files[] = {
            {"one.rule", "# a comment\nAll(Text(value=true),\n  Text(value=false))\n"},
            {"deep.rule", deepest},
            {"deeper.rule", "Count(" + deepest + ")"},
            {"big.rule", "Text(value=\"" + big + "\")"},
            {"a.rules", "yes = Text(value=yes)\nlist = List(items=\"p,q\");\n"},
            {"b.rules", "broken = All(\n  Text(code=-11020))\nlast = Text()\n"},
            {"good.rules", "t = Traced(value=evaluated)\n"},
            {"bad.rules", "x = Text(value=1)\ny = Text(value=\"\\q\")\n"},
            {"unknown.rules", "z = All(Nope())\n"},
            {"again.rules", "\nt = Text()\n"},
            {"empty.rules", ""},
            {"comments.rules", "# nothing yet\n"},
            {"three.rules", "a = Text()\nb = Text()\nc = Text()\n"},
            {"mixed.rules", "a = Not(Text(value=true))\nb = Collect(ValueOf(value=x))\n"},
            {"large.rules", large},
        };
        for (const auto& [name, content] : files) {
            std::ofstream(directory / name, std::ios::binary) << content;
        }
        // Libraries beside the plug-ins are passed over, and so is anything but *.so.
        fs::create_directories(directory / "plugins");
        fs::create_directory(directory / "empty");
        fs::create_symlink(COREHOST_OTHER_PLUGIN, directory / "plugins" / "a.so");
        fs::create_symlink(COREHOST_FAKE_PLUGIN, directory / "plugins" / "b.so");
        fs::create_symlink(COREHOST_SDK_LIBRARY, directory / "plugins" / "libplugin.so");
        std::ofstream(directory / "plugins" / "README") << "not a module";
    }
    static void TearDownTestSuite() { fs::remove_all(directory); }

    /// `text` with $D for the scratch directory and $FAKE, $OTHER and $SDK for those modules.
    static std::string expand(std::string text) {
        const std::pair<std::string, std::string> names[] = {{"$D", directory.string()},
                                                             {"$FAKE", COREHOST_FAKE_PLUGIN},
                                                             {"$OTHER", COREHOST_OTHER_PLUGIN},
                                                             {"$SDK", COREHOST_SDK_LIBRARY}};
        for (const auto& [name, value] : names) {
            for (std::size_t at = 0; (at = text.find(name, at)) != std::string::npos;) {
                text.replace(at, name.size(), value);
                at += value.size();
            }
        }
        return text;
    }

    /// corehost with `arguments` expanded; "$F" stands for "--plugin" and the fake plug-in.
    static Result run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::vector<std::string> expanded;
        for (const std::string& argument : arguments) {
            if (argument == "$F") {
                expanded.insert(expanded.end(), {"--plugin", COREHOST_FAKE_PLUGIN});
            } else {
                expanded.push_back(expand(argument));
            }
        }
        return corehost(expanded, input);
    }

    static inline fs::path directory;
    static inline const std::string big = std::string(10 * 1024 * 1024, 'v');
    static inline std::string largeOut;
};

std::vector<nlohmann::json> jsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    for (const std::string& line : split(text, '\n')) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

const std::string kListed =
    "Text           FakePlugin\nList           FakePlugin\nAll            FakePlugin\n"
    "Count          FakePlugin\nCollect        FakePlugin\nFirst          FakePlugin\n"
    "Hungry         FakePlugin\nHungryToBuild  FakePlugin\nUnbuildable    FakePlugin\n"
    "Traced         FakePlugin\nConfused       FakePlugin\n";
const std::string kTwice =
    "corehost: warning: \"Text\" is registered by OtherPlugin ($OTHER) and again by FakePlugin "
    "($FAKE); OtherPlugin's is used\ncorehost: warning: \"Collect\" is registered by OtherPlugin "
    "($OTHER) and again by FakePlugin ($FAKE); OtherPlugin's is used\n";
const std::string kTwiceInDirectory =
    "corehost: warning: \"Text\" is registered by OtherPlugin ($D/plugins/a.so) and again by "
    "FakePlugin ($D/plugins/b.so); OtherPlugin's is used\ncorehost: warning: \"Collect\" is "
    "registered by OtherPlugin ($D/plugins/a.so) and again by FakePlugin ($D/plugins/b.so); "
    "OtherPlugin's is used\n";
const std::string kFailedText = "reading a file's status failed";

TEST_F(CorehostTest, ExitStatusAndOutputOfEachCommand) {
    // An expected text ending in "..." is a prefix; an expected error of "?" is any non-empty one.
    const auto expect = [](const std::vector<std::string>& arguments, int status,
                           const std::string& expectedOut, const std::string& expectedErr,
                           const std::string& input = "") {
        const std::string what = ::testing::PrintToString(arguments);
        const Result r = run(arguments, input);
        EXPECT_EQ(r.status, status) << what << r.err;
        const std::string out = expand(expectedOut);
        if (out.size() >= 3 && out.compare(out.size() - 3, 3, "...") == 0) {
            EXPECT_EQ(r.out.substr(0, out.size() - 3), out.substr(0, out.size() - 3)) << what;
        } else if (r.out.size() < 1000) {
            EXPECT_EQ(r.out, out) << what;
        } else {
            EXPECT_TRUE(r.out == out) << what << ": " << r.out.size() << " bytes";
        }
        if (expectedErr == "?") {
            EXPECT_NE(r.err, "") << what;
        } else {
            EXPECT_EQ(r.err, expand(expectedErr)) << what;
        }
    };
    // eval prints a scalar, or one element a line; it reads files and standard input.
    expect({"eval", "$F", "Text(value=\"a b\")"}, 0, "a b\n", "");
    expect({"eval", "$F", "Collect(List(items=\"x,,y\"), Text(value=\"\\u{1F600}\xc3\xa9\"))"}, 0,
           "x\n\ny\n\xf0\x9f\x98\x80\xc3\xa9\n", "");
    expect({"eval", "$F", "List()"}, 0, "", "");
    expect({"eval", "$F", "-f", "$D/one.rule"}, 0, "false\n", "");
    expect({"eval", "$F", "-"}, 0, "piped\n", "", "Text(value=piped)");
    expect({"eval", "$F", "-f", "-"}, 0, "piped\n", "", "Text(value=piped)");
    expect({"eval", "$F", "-f", "-", "Text()"}, 2, "",
           "corehost eval: give EXPR or -f FILE, not both\n");
    expect({"eval", "$F", "-f", "$D/deep.rule"}, 0, "1\n", "");
    expect({"eval", "$F", "-f", "$D/big.rule"}, 0, big + "\n", "");
    // A failed evaluation exits with 1 and names the node.
    expect({"eval", "$F", "All(Text(value=true),\n    Text(code=-11009))"}, 1, "",
           "<expr>:2:5: Text failed: -11009 " + kFailedText + "\n");
    expect({"eval", "$F", "--json", "All(Text(value=true),\n    Text(code=-11009))"}, 1,
           R"({"status":-11009,"error":")" + kFailedText +
               R"(","node":"Text@2:5"})"
               "\n",
           "");
    // Registered, but the factory cannot build it.
    expect({"eval", "$F", "--json", "All(Unbuildable())"}, 1,
           R"({"status":-10008,"error":"unknown expression name","node":"Unbuildable@1:5"})"
           "\n",
           "");
    expect({"eval", "$F", "Count(Hungry())"}, 1, "",
           "<expr>:1:7: Hungry failed: -1 out of memory\n");
    // Parse errors exit with 2 and evaluate nothing; the parser's tests cover every message.
    expect({"eval", "$F", "--trace", "All(Text()"}, 2, "",
           "<expr>:1:11: missing ')' to close \"All(\" opened at 1:1\n");
    expect({"eval", "$F", "--trace", "Text(value=\xff)"}, 2, "",
           "<expr>:1:12: invalid UTF-8 sequence starting with byte 0xFF\n");
    expect({"eval", "$F", "--trace", "All(Nope())"}, 2, "",
           "<expr>:1:5: unknown expression name \"Nope\" (-10008)\n");
    expect({"eval", "$F", "-f", "$D/deeper.rule"}, 2, "",
           "$D/deeper.rule:1:6001: nesting deeper than 1000 levels\n");
    // --explain, --trace and --set.
    expect({"eval", "$F", "--explain", "All(Text(value=false), Text(value=true))"}, 0,
           "All @1:1 => \"false\"\n├─ Text(value=\"false\") @1:5 => \"false\"\n"
           "└─ Text(value=\"true\") @1:24 skipped: the parent was ready\n",
           "");
    expect({"eval", "$F", "--json", "--explain", "All(Text(value=false))"}, 0,
           R"({"status":0,"type":"scalar","result":"false","explain":{"expression":"All",)"
           R"("position":"1:1","properties":{},"state":"succeeded","type":"scalar",)"
           R"("result":"false","children":[{"expression":"Text","position":"1:5",)"
           R"("properties":{"value":"false"},"state":"succeeded","type":"scalar",)"
           R"("result":"false","children":[]}]}})"
           "\n",
           "");
    expect({"eval", "$F", "--trace", "Traced(value=hi)"}, 0, "hi\n",
           "trace: component=5 level=1 Traced::getScalarResult Traced.cpp:7: traced value hi\n");
    expect({"eval", "$F", "--trace=$D/trace.log", "Traced(value=there)"}, 0, "there\n", "");
    expect({"eval", "$F", "Traced(value=quiet)"}, 0, "quiet\n", "");
    // A trace file that cannot be opened is a usage error, found before any plug-in is loaded.
    expect({"eval", "--plugin", "/nonexistent/libNone.so", "--trace=/nonexistent/dir/trace.log",
            "Text()"},
           2, "", "corehost: cannot open the trace file /nonexistent/dir/trace.log\n");
    expect({"eval", "$F", "--set", "mode=strict", "Text(value=1)"}, 0, "1\n", "");
    expect({"eval", "$F", "--set", "mode=strict", "--set", "color=blue", "Text(value=1)"}, 0, "1\n",
           "corehost: warning: no plug-in kept the property color=blue\n");
    expect({"eval", "$F", "--set", "novalue", "Text(value=1)"}, 2, "", "?");
    // A plug-in that cannot be loaded exits with 3.
    expect({"eval", "--plugin", "/nonexistent/libNone.so", "Text()"}, 3, "",
           "corehost: cannot load the plug-in: /nonexistent/libNone.so: cannot open shared object "
           "file: No such file or directory\n");
    expect({"list", "--plugin", "$SDK"}, 3, "",
           "corehost: cannot load the plug-in: $SDK: not a plug-in module (no createPlugin or "
           "destroyPlugin entry point)\n");
    expect({"eval", "--plugin-dir", "$D/empty", "Text()"}, 3, "",
           "corehost: cannot load the plug-in: no plug-in module in $D/empty\n");
    expect({"eval", "--plugin-dir", "$D/missing", "Text()"}, 3, "",
           "corehost: cannot read the plug-in directory $D/missing: No such file or directory\n");
    // Usage errors exit with 2.
    expect({}, 2, "", "?");
    expect({"frobnicate"}, 2, "", "?");
    expect({"eval"}, 2, "", "corehost eval: nothing to evaluate: give EXPR or -f FILE\n");
    expect({"eval", "--no-such-option", "Text()"}, 2, "", "?");
    expect({"run"}, 2, "", "?");
    expect({"run", "--jobs", "0", "x.rules"}, 2, "", "?");
    expect({"run", "--repeat", "many", "x.rules"}, 2, "", "?");
    expect({"run", "--progress", "--no-progress", "x.rules"}, 2, "", "?");
    // list, and a name from the first of several plug-ins that registers it.
    expect({"list", "$F"}, 0, kListed, "");
    std::string listedJson;
    for (const std::string& line : split(kListed, '\n')) {
        listedJson += std::string(listedJson.empty() ? "[" : ",") + R"({"name":")" +
                      line.substr(0, line.find(' ')) +
                      R"(","plugin":"FakePlugin","module":"$FAKE"})";
    }
    expect({"list", "$F", "--json"}, 0, listedJson + "]\n", "");
    expect({"list", "--plugin", "$OTHER", "--plugin", "$FAKE"}, 0,
           "Collect        OtherPlugin\nText           OtherPlugin\nList           FakePlugin\n...",
           kTwice);
    expect({"list", "--plugin", "$FAKE", "--plugin", "$OTHER", "--plugin", "$OTHER"}, 0, kListed,
           "corehost: warning: \"Collect\" is registered by FakePlugin ($FAKE) and again by "
           "OtherPlugin ($OTHER); FakePlugin's is used\ncorehost: warning: \"Text\" is registered "
           "by FakePlugin ($FAKE) and again by OtherPlugin ($OTHER); FakePlugin's is used\n");
    expect({"list", "--json", "--plugin-dir", "$D/plugins"}, 0,
           R"([{"name":"Collect","plugin":"OtherPlugin","module":"$D/plugins/a.so"},)"
           R"({"name":"Text","plugin":"OtherPlugin","module":"$D/plugins/a.so"},)"
           R"({"name":"List","plugin":"FakePlugin","module":"$D/plugins/b.so"},...)",
           kTwiceInDirectory);
    expect({"list", "--json", "$F", "--plugin-dir", "$D/plugins"}, 0,
           R"([{"name":"Text","plugin":"FakePlugin","module":"$FAKE"},...)", "?");
    // One tree takes its nodes from two modules; a bare name is searched like a library.
    expect({"eval", "$F", "--plugin", "libCorePlugin.so",
            "All(Text(value=true), Not(ValueOf(value=false)))"},
           0, "true\n", "");
    expect({"run", "$F", "--plugin", COREHOST_REAL_PLUGIN, "--jobs", "2", "$D/mixed.rules"}, 0,
           "a = \"false\"\nb = [\"x\"]\n", "");
    expect({"eval", "ValueOf(value=\"from the real plug-in\")"}, 0, "from the real plug-in\n", "");
    // run prints every rule in order and exits with 1 on a failure.
    expect({"run", "$F", "$D/a.rules"}, 0, "yes = \"yes\"\nlist = [\"p\", \"q\"]\n", "");
    expect({"run", "$F", "$D/a.rules", "$D/b.rules"}, 1,
           "yes = \"yes\"\nlist = [\"p\", \"q\"]\nlast = \"\"\n",
           "$D/b.rules:2:3: rule broken: Text failed: -11020 \"key\" absent\n");
    expect({"run", "$F", "--jobs", "3", "--repeat", "2", "$D/a.rules", "$D/b.rules"}, 1,
           "yes = \"yes\"\nlist = [\"p\", \"q\"]\nlast = \"\"\n",
           "$D/b.rules:2:3: rule broken: Text failed: -11020 \"key\" absent\n");
    expect({"run", "$F", "--json", "$D/a.rules", "$D/b.rules"}, 1,
           R"({"rule":"yes","status":0,"type":"scalar","result":"yes"})"
           "\n"
           R"({"rule":"list","status":0,"type":"vector","result":["p","q"]})"
           "\n"
           R"({"rule":"broken","status":-11020,"error":"\"key\" absent","node":"Text@2:3"})"
           "\n"
           R"({"rule":"last","status":0,"type":"scalar","result":""})"
           "\n",
           "");
    expect({"run", "$F", "--jobs", "2", "$D/large.rules"}, 0, largeOut, "");
    // Every catalog is checked before anything is evaluated.
    expect({"run", "$F", "--trace", "$D/good.rules", "$D/bad.rules"}, 2, "",
           "$D/bad.rules:2:17: unknown escape \"\\q\"\n");
    expect({"run", "$F", "--trace", "$D/good.rules", "$D/unknown.rules"}, 2, "",
           "$D/unknown.rules:1:9: unknown expression name \"Nope\" (-10008)\n");
    expect({"run", "$F", "$D/good.rules", "$D/again.rules"}, 2, "",
           "$D/again.rules:2:1: duplicate rule \"t\" (first defined at $D/good.rules:1:1)\n");
    expect({"run", "$F", "$D"}, 2, "", "$D: is a directory, not a rule file\n");
    expect({"run", "$F", "$D/empty.rules"}, 2, "", "$D/empty.rules: is empty\n");
    expect({"run", "$F", "$D/comments.rules"}, 2, "", "$D/comments.rules: holds no rules\n");
    expect({"run", "$F", "$D/missing.rules"}, 2, "",
           "$D/missing.rules: cannot be read: No such file or directory\n");
    expect({"run", "-"}, 2, "", "<stdin>: is empty\n");
    expect({"eval", "-"}, 2, "", "<stdin>: is empty\n");
    expect({"eval", ""}, 2, "",
           "<expr>:1:1: expected an expression name, found the end of the text\n");
    expect({"eval", "ValueOf()"}, 1, "", "<expr>:1:1: ValueOf failed: -11022 \"value\" absent\n");
    // Progress goes to standard error only when forced off a terminal.
    const std::string three = "a = \"\"\nb = \"\"\nc = \"\"\n";
    expect({"run", "$F", "$D/three.rules"}, 0, three, "");
    expect({"run", "$F", "--no-progress", "$D/three.rules"}, 0, three, "");
    // One line a percent, rounded down.
    expect({"run", "$F", "--progress", "$D/three.rules"}, 0, three,
           "[..............................] 0% (0/3 rules)\n"
           "[##########....................] 33% (1/3 rules)\n"
           "[####################..........] 66% (2/3 rules)\n"
           "[##############################] 100% (3/3 rules)\n");
    EXPECT_EQ(slurp(directory / "trace.log"),
              "trace: component=5 level=1 Traced::getScalarResult Traced.cpp:7: traced value "
              "there\n");
}

TEST_F(CorehostTest, HelpAndVersion) {
    Result r = corehost({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"eval", "run", "list", "--version", "Exit status"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
    r = corehost({"run", "--help"});
    for (const char* word : {"--jobs", "--repeat", "--progress", "--no-progress", "--json",
                             "--explain", "--trace", "--plugin", "--set"}) {
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
    r = corehost({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "corehost " COREHOST_VERSION);
}

TEST_F(CorehostTest, TheExampleCatalogEvaluatesWithoutFailure) {
    const Result r = corehost({"run", "--json", COREHOST_EXAMPLES "/system.rules"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const nlohmann::json& line : jsonLines(r.out)) {
        EXPECT_EQ(line["status"], 0) << line.dump();
    }
}

}  // namespace
