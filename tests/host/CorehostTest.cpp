// corehost as a user runs it: a child process, its standard output, standard error and exit
// status.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace {

/// What a corehost process left behind.
struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

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

// Runs corehost (through the emulator in the ILP32 build) with `input` on its standard input;
// its output goes through files, so that nothing can block on a full pipe.
Result corehost(const std::vector<std::string>& arguments, const std::string& input = "") {
    std::vector<std::string> command = split(COREHOST_EMULATOR, ' ');
    command.push_back(COREHOST_BINARY);
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::filesystem::path base =
        std::filesystem::temp_directory_path() / ("corehost-io-" + std::to_string(getpid()));
    const std::string in = base.string() + ".in", out = base.string() + ".out",
                      err = base.string() + ".err";
    std::ofstream(in, std::ios::binary) << input;
    const pid_t pid = fork();
    if (pid == 0) {
        const int fds[3] = {open(in.c_str(), O_RDONLY),
                            open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                            open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)};
        for (int fd = 0; fd < 3; ++fd) {
            dup2(fds[fd], fd);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const auto slurp = [](const std::string& path) {
        std::stringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        std::filesystem::remove(path);
        return content.str();
    };
    Result result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = slurp(out);
    result.err = slurp(err);
    std::filesystem::remove(in);
    return result;
}

Result fake(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin() + 1, {"--plugin", COREHOST_FAKE_PLUGIN});
    return corehost(arguments, input);
}

/// A scratch directory for rule files, removed after each test.
class CorehostTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corehost-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Directory = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_Directory); }

    std::string file(const std::string& name, const std::string& content) {
        const std::string path = (m_Directory / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::filesystem::path m_Directory;
};

std::vector<nlohmann::json> jsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    for (const std::string& line : split(text, '\n')) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

TEST_F(CorehostTest, EvalPrintsAScalarOrOneElementPerLine) {
    Result r = fake({"eval", "Text(value=\"a b\")"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "a b\n");
    EXPECT_EQ(r.err, "");
    r = fake({"eval", "Collect(List(items=\"x,,y\"), Text(value=\"\\u{1F600}\xc3\xa9\"))"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "x\n\ny\n\xf0\x9f\x98\x80\xc3\xa9\n");
    r = fake({"eval", "List()"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST_F(CorehostTest, EvalReadsTheExpressionFromAFileOrStandardInput) {
    const std::string path =
        file("one.rule", "# a comment\nAll(Text(value=true),\n  Text(value=false))\n");
    Result r = fake({"eval", "-f", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "false\n");
    r = fake({"eval", "-"}, "Text(value=piped)");
    EXPECT_EQ(r.out, "piped\n");
    r = fake({"eval", "-f", "-"}, "Text(value=piped)");
    EXPECT_EQ(r.out, "piped\n");
    r = fake({"eval", "-f", "-", "Text()"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "corehost eval: give EXPR or -f FILE, not both\n");
}

TEST_F(CorehostTest, AFailedEvaluationExitsWithOneAndNamesTheNode) {
    Result r = fake({"eval", "All(Text(value=true),\n    Text(code=-11009))"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "<expr>:2:5: Text failed: -11009 reading a file's status failed\n");

    r = fake({"eval", "--json", "All(Text(value=true),\n    Text(code=-11009))"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    const nlohmann::json json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json, nlohmann::json::parse(R"({"status":-11009,
        "error":"reading a file's status failed","node":"Text@2:5"})"));

    // Registered, but the factory cannot build it.
    r = fake({"eval", "--json", "All(Unbuildable())"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(nlohmann::json::parse(r.out),
              nlohmann::json::parse(R"({"status":-10008,"error":"unknown expression name",
                                         "node":"Unbuildable@1:5"})"));

    r = fake({"eval", "Count(Hungry())"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "<expr>:1:7: Hungry failed: -1 out of memory\n");
}

TEST_F(CorehostTest, ParseErrorsExitWithTwoAndEvaluateNothing) {
    // The parser's tests cover every message; these show that each kind stops corehost.
    const struct {
        std::string expression;
        std::string error;
    } cases[] = {
        {"All(Text()", "<expr>:1:11: missing ')' to close \"All(\" opened at 1:1\n"},
        {"Text(value=\xff)", "<expr>:1:12: invalid UTF-8 sequence starting with byte 0xFF\n"},
        {"All(Nope())", "<expr>:1:5: unknown expression name \"Nope\" (-10008)\n"},
    };
    for (const auto& c : cases) {
        const Result r = fake({"eval", "--trace", c.expression});
        EXPECT_EQ(r.status, 2) << c.expression;
        EXPECT_EQ(r.out, "") << c.expression;
        EXPECT_EQ(r.err, c.error) << c.expression;
    }
}

TEST_F(CorehostTest, NestingHasALimitButReachesIt) {
    std::string deepest;
    for (int i = 1; i < 1000; ++i) {
        deepest += "Count(";
    }
    deepest += "Text()" + std::string(999, ')');
    Result r = fake({"eval", "-f", file("deep.rule", deepest)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\n");
    r = fake({"eval", "-f", file("deeper.rule", "Count(" + deepest + ")")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              m_Directory.string() + "/deeper.rule:1:6001: nesting deeper than 1000 levels\n");
}

TEST_F(CorehostTest, TakesATenMegabyteValue) {
    const std::string big(10 * 1024 * 1024, 'v');
    const Result r = fake({"eval", "-f", file("big.rule", "Text(value=\"" + big + "\")")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), big.size() + 1);
}

TEST_F(CorehostTest, ExplainShowsTheEvaluatedTree) {
    const Result r = fake({"eval", "--explain", "All(Text(value=false), Text(value=true))"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "All @1:1 => \"false\"\n"
              "├─ Text(value=\"false\") @1:5 => \"false\"\n"
              "└─ Text(value=\"true\") @1:24 skipped: the parent was ready\n");
    const Result json = fake({"eval", "--json", "--explain", "All(Text(value=false))"});
    const nlohmann::json parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["result"], "false");
    EXPECT_EQ(parsed["explain"]["children"][0]["properties"]["value"], "false");
}

TEST_F(CorehostTest, TraceShowsThePluginsRecords) {
    Result r = fake({"eval", "--trace", "Traced(value=hi)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "hi\n");
    EXPECT_EQ(r.err,
              "trace: component=5 level=1 Traced::getScalarResult Traced.cpp:7: traced value hi\n");
    const std::string traceFile = (m_Directory / "trace.log").string();
    r = fake({"eval", "--trace=" + traceFile, "Traced(value=there)"});
    EXPECT_EQ(r.err, "");
    std::ifstream stream(traceFile);
    std::stringstream content;
    content << stream.rdbuf();
    EXPECT_EQ(
        content.str(),
        "trace: component=5 level=1 Traced::getScalarResult Traced.cpp:7: traced value there\n");
    r = fake({"eval", "Traced(value=quiet)"});
    EXPECT_EQ(r.err, "");
    r = fake({"eval", "--trace=/nonexistent/dir/trace.log", "Text()"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "corehost: cannot open the trace file /nonexistent/dir/trace.log\n");
}

TEST_F(CorehostTest, SetPassesConfigurationPropertiesAndWarnsAboutSkippedOnes) {
    Result r = fake({"eval", "--set", "mode=strict", "Text(value=1)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    r = fake({"eval", "--set", "mode=strict", "--set", "color=blue", "Text(value=1)"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(r.err, "corehost: warning: no plug-in kept the property color=blue\n");
    r = fake({"eval", "--set", "novalue", "Text(value=1)"});
    EXPECT_EQ(r.status, 2);
}

TEST_F(CorehostTest, ThePluginThatCannotBeLoadedExitsWithThree) {
    Result r = corehost({"eval", "--plugin", "/nonexistent/libNone.so", "Text()"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err,
              "corehost: cannot load the plug-in: /nonexistent/libNone.so: cannot open shared "
              "object file: No such file or directory\n");
    r = corehost({"list", "--plugin", COREHOST_SDK_LIBRARY});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, std::string("corehost: cannot load the plug-in: ") + COREHOST_SDK_LIBRARY +
                         ": not a plug-in module (no createPlugin or destroyPlugin entry point)\n");
}

TEST_F(CorehostTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {},
             {"frobnicate"},
             {"eval"},
             {"eval", "--no-such-option", "Text()"},
             {"run"},
             {"run", "--jobs", "0", "x.rules"},
             {"run", "--repeat", "many", "x.rules"},
             {"run", "--progress", "--no-progress", "x.rules"},
         }) {
        const Result r = corehost(arguments);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(r.out, "") << testing::PrintToString(arguments);
        EXPECT_NE(r.err, "") << testing::PrintToString(arguments);
    }
}

TEST_F(CorehostTest, HelpListAndVersion) {
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
    r = fake({"list"});
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "Text           FakePlugin");
    EXPECT_EQ(lines[10], "Confused       FakePlugin");
    r = fake({"list", "--json"});
    const nlohmann::json names = nlohmann::json::parse(r.out);
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(names.back(), nlohmann::json::parse(R"({"name":"Confused","plugin":"FakePlugin",
                                "module":")" COREHOST_FAKE_PLUGIN R"("})"));
    r = corehost({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "corehost " COREHOST_VERSION);
}

TEST_F(CorehostTest, ANameComesFromTheFirstOfSeveralPluginsThatRegistersIt) {
    const std::string other = COREHOST_OTHER_PLUGIN, fakePlugin = COREHOST_FAKE_PLUGIN;
    Result r = corehost({"list", "--plugin", other, "--plugin", fakePlugin});
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> lines = split(r.out, '\n');
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
              (std::vector<std::string>{"Collect        OtherPlugin", "Text           OtherPlugin",
                                        "List           FakePlugin"}));
    EXPECT_EQ(r.err, "corehost: warning: \"Text\" is registered by OtherPlugin (" + other +
                         ") and again by FakePlugin (" + fakePlugin +
                         "); OtherPlugin's is used\n"
                         "corehost: warning: \"Collect\" is registered by OtherPlugin (" +
                         other + ") and again by FakePlugin (" + fakePlugin +
                         "); OtherPlugin's is used\n");
    r = corehost({"list", "--plugin", fakePlugin, "--plugin", other, "--plugin", other});
    EXPECT_EQ(r.out.find("OtherPlugin"), std::string::npos);
    EXPECT_EQ(split(r.err, '\n').size(), 2u);

    // One tree takes its nodes from two modules; a bare name is searched like a library.
    r = fake({"eval", "--plugin", "libCorePlugin.so",
              "All(Text(value=true), Not(ValueOf(value=false)))"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "true\n");
    EXPECT_EQ(r.err, "");
    r = fake({"run", "--plugin", COREHOST_REAL_PLUGIN, "--jobs", "2",
              file("mixed.rules", "a = Not(Text(value=true))\nb = Collect(ValueOf(value=x))\n")});
    EXPECT_EQ(r.out, "a = \"false\"\nb = [\"x\"]\n");
}

TEST_F(CorehostTest, APluginDirectoryLoadsItsModulesInNameOrder) {
    const std::filesystem::path directory = m_Directory / "plugins";
    std::filesystem::create_directory(directory);
    std::filesystem::create_symlink(COREHOST_OTHER_PLUGIN, directory / "a.so");
    std::filesystem::create_symlink(COREHOST_FAKE_PLUGIN, directory / "b.so");
    // Libraries beside the plug-ins are passed over, and so is anything but *.so.
    std::filesystem::create_symlink(COREHOST_SDK_LIBRARY, directory / "libplugin.so");
    file("plugins/README", "not a module");
    Result r = corehost({"list", "--json", "--plugin-dir", directory.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    nlohmann::json names = nlohmann::json::parse(r.out);
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(names[0]["plugin"], "OtherPlugin");
    EXPECT_EQ(names[0]["module"], (directory / "a.so").string());
    EXPECT_EQ(names[2]["plugin"], "FakePlugin");
    EXPECT_EQ(split(r.err, '\n').size(), 2u);
    r = corehost(
        {"list", "--json", "--plugin", COREHOST_FAKE_PLUGIN, "--plugin-dir", directory.string()});
    names = nlohmann::json::parse(r.out);
    EXPECT_EQ(names[0], nlohmann::json::parse(R"({"name":"Text","plugin":"FakePlugin",
                            "module":")" COREHOST_FAKE_PLUGIN R"("})"));

    const std::filesystem::path empty = m_Directory / "empty";
    std::filesystem::create_directory(empty);
    r = corehost({"eval", "--plugin-dir", empty.string(), "Text()"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err,
              "corehost: cannot load the plug-in: no plug-in module in " + empty.string() + "\n");
    r = corehost({"eval", "--plugin-dir", (m_Directory / "missing").string(), "Text()"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "corehost: cannot read the plug-in directory " +
                         (m_Directory / "missing").string() + ": No such file or directory\n");
}

TEST_F(CorehostTest, RunPrintsEveryRuleInOrderAndExitsWithOneOnAFailure) {
    const std::string first = file("a.rules",
                                   "yes = Text(value=yes)\n"
                                   "list = List(items=\"p,q\");\n");
    const std::string second =
        file("b.rules", "broken = All(\n  Text(code=-11020))\nlast = Text()\n");
    Result r = fake({"run", first});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "yes = \"yes\"\nlist = [\"p\", \"q\"]\n");
    EXPECT_EQ(r.err, "");
    r = fake({"run", first, second});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "yes = \"yes\"\nlist = [\"p\", \"q\"]\nlast = \"\"\n");
    EXPECT_EQ(r.err, second + ":2:3: rule broken: Text failed: -11020 \"key\" absent\n");

    r = fake({"run", "--json", first, second});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    const std::vector<nlohmann::json> lines = jsonLines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              nlohmann::json::parse(R"({"rule":"yes","status":0,"type":"scalar","result":"yes"})"));
    EXPECT_EQ(lines[1], nlohmann::json::parse(
                            R"({"rule":"list","status":0,"type":"vector","result":["p","q"]})"));
    EXPECT_EQ(lines[2], nlohmann::json::parse(R"({"rule":"broken","status":-11020,
                            "error":"\"key\" absent","node":"Text@2:3"})"));
    EXPECT_EQ(lines[3]["rule"], "last");
}

TEST_F(CorehostTest, RunChecksEveryCatalogBeforeEvaluatingAnything) {
    const std::string good = file("good.rules", "t = Traced(value=evaluated)\n");
    const std::string bad = file("bad.rules", "x = Text(value=1)\ny = Text(value=\"\\q\")\n");
    Result r = fake({"run", "--trace", good, bad});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, bad + ":2:17: unknown escape \"\\q\"\n");
    const std::string unknown = file("unknown.rules", "z = All(Nope())\n");
    r = fake({"run", "--trace", good, unknown});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, unknown + ":1:9: unknown expression name \"Nope\" (-10008)\n");
    const std::string again = file("again.rules", "\nt = Text()\n");
    r = fake({"run", good, again});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, again + ":2:1: duplicate rule \"t\" (first defined at " + good + ":1:1)\n");
}

TEST_F(CorehostTest, RunRefusesFilesItCannotUse) {
    Result r = fake({"run", m_Directory.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, m_Directory.string() + ": is a directory, not a rule file\n");
    const std::string empty = file("empty.rules", "");
    r = fake({"run", empty});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, empty + ": is empty\n");
    const std::string comments = file("comments.rules", "# nothing yet\n");
    r = fake({"run", comments});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, comments + ": holds no rules\n");
    const std::string missing = (m_Directory / "missing.rules").string();
    r = fake({"run", missing});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, missing + ": cannot be read: No such file or directory\n");
}

TEST_F(CorehostTest, ParallelAndRepeatedRunsPrintWhatOneRunPrints) {
    std::string catalog;
    for (int i = 0; i < 300; ++i) {
        const std::string n = std::to_string(i);
        catalog += i % 5 == 0
                       ? "r" + n + " = All(Text(value=true), Text(code=-11009))\n"
                       : "r" + n + " = Collect(List(items=\"a,b\"), Text(value=" + n + "))\n";
    }
    const std::string path = file("many.rules", catalog);
    const Result one = fake({"run", "--json", path});
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(jsonLines(one.out).size(), 300u);
    for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
             {"--jobs", "4"}, {"--repeat", "3"}, {"--jobs", "3", "--repeat", "2"}}) {
        std::vector<std::string> arguments = {"run", "--json"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        arguments.push_back(path);
        const Result r = fake(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, one.out) << testing::PrintToString(options);
    }
}

TEST_F(CorehostTest, RunsAHundredThousandRules) {
    std::string catalog;
    for (int i = 0; i < 100000; ++i) {
        catalog += "rule" + std::to_string(i) + " = Text(value=" + std::to_string(i) + ")\n";
    }
    const Result r = fake({"run", "--jobs", "2", file("large.rules", catalog)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(r.out.size() - 20), "rule99999 = \"99999\"\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 100000);
}

TEST_F(CorehostTest, ProgressGoesToStandardErrorOnlyWhenForcedOffATerminal) {
    const std::string path = file("two.rules", "a = Text()\nb = Text()\n");
    Result r = fake({"run", path});
    EXPECT_EQ(r.err, "");
    r = fake({"run", "--progress", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "[..............................] 0% (0/2 rules)\n"
              "[###############...............] 50% (1/2 rules)\n"
              "[##############################] 100% (2/2 rules)\n");
    r = fake({"run", "--no-progress", path});
    EXPECT_EQ(r.err, "");
}

TEST_F(CorehostTest, TheRealPluginIsFoundBesideCorehost) {
    const Result r = corehost({"eval", "ValueOf(value=\"from the real plug-in\")"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "from the real plug-in\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CorehostTest, TheExampleCatalogEvaluatesWithoutFailure) {
    const Result r = corehost({"run", "--json", COREHOST_EXAMPLES "/system.rules"});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const nlohmann::json& line : jsonLines(r.out)) {
        EXPECT_EQ(line["status"], 0) << line.dump();
    }
}

}  // namespace
