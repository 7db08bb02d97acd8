// Bad input through corehost, as a user meets it, and in process where no rule can carry it: every
// case gets an answer or a clear error, never a crash, a hang (a timeout ends the process) or
// memory that grows with the input. Inputs that are data are tests/cli/bad-input.cases.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../platform/TestSupport.h"
#include "ExpressionTree.h"
#include "PluginModule.h"
#include "PluginSet.h"
#include "RuleParser.h"

namespace {

namespace fs = std::filesystem;

/// What corehost printed on its standard output, and its exit status.
struct Process {
    int status = -1;
    std::string out;
};

// corehost with `arguments` (through the emulator in the ILP32 build); a hang ends after five
// minutes.
Process corehost(const std::string& arguments) {
    const std::string command =
        "timeout 300 " COREHOST_EMULATOR " " COREHOST_BINARY " " + arguments;
    std::FILE* pipe = popen(command.c_str(), "r");
    Process run;
    char buffer[65536];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, count);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return run;
}

// The high-water mark of a child's memory starts from the parent's at fork time, which the
// address sanitizer's quarantine keeps large: there memory is not measured.
#ifdef __SANITIZE_ADDRESS__
constexpr long kMemoryLimitKb = 0;
#else
constexpr long kMemoryLimitKb = 256 * 1024;
#endif

// Each rule's answer from `run --json`: its result, or its code.
std::map<std::string, std::string> answers(const std::string& jsonLines) {
    std::map<std::string, std::string> answers;
    std::istringstream lines(jsonLines);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json json = nlohmann::json::parse(line);
        const std::int32_t status = json["status"];
        answers[json["rule"]] = status != 0                  ? std::to_string(status)
                                : json["result"].is_string() ? json["result"].get<std::string>()
                                                             : json["result"].dump();
    }
    return answers;
}

/// The expressions, each with every property it reads and how many children it takes.
struct Shape {
    const char* name;
    std::vector<const char*> properties;
    int children;
};

const std::vector<Shape> kShapes = {
    {"Not", {}, 1},
    {"And", {}, 2},
    {"Or", {}, 2},
    {"FileInfo", {"absolutePath", "field"}, 0},
    {"FileInfoCompare", {"absolutePath", "field", "relation", "value", "mustExist"}, 0},
    {"FileExists", {"absolutePath"}, 0},
    {"FileDirectory", {"file"}, 0},
    {"PathExists", {"absolutePath"}, 0},
    {"ValueOf", {"value"}, 0},
    {"Compare", {"type", "relation"}, 2},
    {"Vector", {"filter", "ignoreCase"}, 2},
    {"Sort", {"filter", "ignoreCase", "order"}, 2},
    {"Match", {"inputString", "filter", "ignoreCase"}, 0},
    {"Concat", {"separator", "ifEmpty"}, 2},
    {"Switch", {"default"}, 2},
    {"BitwiseAnd", {}, 2},
    {"BitwiseInclusiveOr", {}, 2},
    {"BitwiseExclusiveOr", {}, 2},
    {"ScalarToVector", {}, 1},
    {"VectorToScalar", {}, 2},
    {"VectorIterator", {}, 2},
    {"VectorAt", {"index"}, 2},
    {"Md5", {}, 2},
    {"Substring", {"inputString", "searchedString"}, 0},
    {"Contains", {"inputString", "searchedString", "position"}, 0},
    {"Clip", {"inputString", "startIndex", "endIndex"}, 0},
    {"StringSlice", {"inputString", "startIndex", "endIndex"}, 0},
    {"StringCrop", {"inputString", "startString", "endString", "seekFrom"}, 0},
    {"IniFileKeyExists", {"file", "section", "key"}, 0},
    {"IniFileKeyValue", {"file", "section", "key"}, 0},
    {"MountServer", {"absolutePath"}, 0},
    {"MountPath", {"absolutePath"}, 0},
    {"MountRemotePath", {"absolutePath"}, 0},
};

// `pattern` with every '@' replaced by `value`.
std::string substitute(std::string pattern, const std::string& value) {
    for (std::size_t at = 0; (at = pattern.find('@', at)) != std::string::npos;) {
        pattern.replace(at, 1, value);
        at += value.size();
    }
    return pattern;
}

/// A scratch directory, removed after each test.
class BadInput : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& content) {
        const std::string path = (m_Directory / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    platform_test::TempDir m_Scratch;
    const fs::path& m_Directory = m_Scratch.path();
};

TEST_F(BadInput, ProbesOfEveryKindOfFileAnswerAtOnce) {
    const fs::path& d = m_Directory;
    file("conf.ini", "[s]\nk=v\n");
    file("caf\xC3\xA9.ini", "[s]\nk=v\n");
    file("empty.ini", "");
    fs::create_directory(d / "dir");
    ASSERT_EQ(mkfifo((d / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((d / "busy-fifo").c_str(), 0600), 0);
    // With a writer that never writes, a blocking read of this FIFO would wait for ever.
    const int writer = open((d / "busy-fifo").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    fs::create_symlink("loop2", d / "loop1");
    fs::create_symlink("loop1", d / "loop2");
    fs::create_symlink("self", d / "self");
    fs::create_symlink("nowhere", d / "dangling");
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    (d / "socket").string().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // FileExists, PathExists, FileInfo's size, FileInfoCompare that must exist, IniFileKeyValue.
    struct Case {
        std::string path;
        std::string answers;
    };
    std::vector<Case> cases = {
        {(d / "conf.ini").string(), "true false 8 true v"},
        {(d / "caf\xC3\xA9.ini").string(), "true false 8 true v"},
        {(d / "empty.ini").string(), "true false 0 true "},
        {(d / "dir").string(), "false true -11013 -11033 "},
        {(d / "fifo").string(), "false false -11013 -11033 "},
        {(d / "busy-fifo").string(), "false false -11013 -11033 "},
        // The type field of a socket holds the bits of both a file and a directory.
        {(d / "socket").string(), "true true 0 true "},
        {"/dev/null", "false false -11013 -11033 "},
        {"/dev/zero", "false false -11013 -11033 "},
        {(d / "loop1").string(), "-11009 -11009 -11009 -11009 "},
        {(d / "self").string(), "-11009 -11009 -11009 -11009 "},
        {(d / "loop1" / "below").string(), "-11009 -11009 -11009 -11009 "},
        {(d / "dangling").string(), "false false -11009 -11033 "},
        {(d / "missing").string(), "false false -11009 -11033 "},
        {"", "false false -11009 -11033 "},
    };
    // A block device's type field holds the directory bit; few containers have one.
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev")) {
        std::error_code ignored;
        if (entry.is_block_file(ignored)) {
            cases.push_back({entry.path().string(), "false true -11013 -11033 "});
            break;
        }
    }
    // The first five are checked; the others depend on the machine and must only come at once.
    const char* const probes[] = {
        "FileExists(absolutePath=\"@\")",
        "PathExists(absolutePath=\"@\")",
        "FileInfo(absolutePath=\"@\", field=size)",
        "FileInfoCompare(absolutePath=\"@\", field=size, relation=ge, value=0, mustExist=true)",
        "IniFileKeyValue(file=\"@\", section=s, key=k)",
        "FileDirectory(file=\"@\")",
        "FileInfo(absolutePath=\"@\", field=mtime)",
        "FileInfoCompare(absolutePath=\"@\", field=inode, relation=ne, value=0)",
        "IniFileKeyExists(file=\"@\", section=s, key=missing)",
        "MountPath(absolutePath=\"@\")",
        "MountRemotePath(absolutePath=\"@\")",
        "MountServer(absolutePath=\"@\")"};
    constexpr std::size_t kChecked = 5;
    const auto name = [](std::size_t i, std::size_t probe) {
        return "p" + std::to_string(i) + "." + std::to_string(probe);
    };
    std::string catalog;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (std::size_t probe = 0; probe < std::size(probes); ++probe) {
            catalog += name(i, probe) + " = " + substitute(probes[probe], cases[i].path) + "\n";
        }
    }
    const Process run = corehost("run --json --jobs 2 " + file("probes.rules", catalog));
    close(writer);
    close(listener);
    ASSERT_EQ(run.status, 1);
    const auto found = answers(run.out);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        std::string row;
        for (std::size_t probe = 0; probe < std::size(probes); ++probe) {
            const std::string& answer = found.at(name(i, probe));
            if (probe < kChecked) {
                row += (probe > 0 ? " " : "") + answer;
            } else {
                EXPECT_TRUE(answer.empty() || answer[0] != '-' || answer == "-11009" ||
                            answer == "-11013")
                    << answer;
            }
        }
        EXPECT_EQ(row, cases[i].answers) << cases[i].path.substr(0, 100);
    }
}

TEST_F(BadInput, FilesThatChangeOrVanishMeanwhileGetAnAnswer) {
    const fs::path path = m_Directory / "flipping";
    const fs::path spare = m_Directory / "spare";
    std::atomic<bool> stop{false};
    // The path turns into a file, nothing, a directory, a FIFO and a link loop, over and over.
    std::thread flipper([&] {
        while (!stop) {
            std::ofstream(spare) << "[s]\nk=v\n";
            std::error_code ignored;
            fs::rename(spare, path, ignored);
            fs::remove(path, ignored);
            fs::create_directory(path, ignored);
            fs::remove(path, ignored);
            mkfifo(path.c_str(), 0600);
            fs::remove(path, ignored);
            fs::create_symlink(path, path, ignored);
            fs::remove(path, ignored);
        }
    });
    std::string catalog;
    int rules = 0;
    for (const Shape& shape : kShapes) {
        const std::string first = shape.properties.empty() ? "" : shape.properties[0];
        if (first == "absolutePath" || first == "file") {
            std::string rule = std::string(shape.name) + "(";
            for (const char* property : shape.properties) {
                const std::string name = property;
                const std::string value = name == "field"      ? "size"
                                          : name == "relation" ? "ge"
                                          : name == "value"    ? "0"
                                          : name == "section"  ? "s"
                                          : name == "key"      ? "k"
                                                               : path.string();
                rule += name + "=\"" + value + "\", ";
            }
            // The same path probed twice in one tree.
            catalog += "r" + std::to_string(rules++) + " = Concat(" + rule + "), " + rule + "))\n";
        }
    }
    const Process run = corehost("run --json --jobs 2 --repeat 200 " + file("flip.rules", catalog));
    stop = true;
    flipper.join();
    ASSERT_LE(run.status, 1);
    const auto found = answers(run.out);
    EXPECT_EQ(found.size(), static_cast<std::size_t>(rules));
    for (const auto& [rule, answer] : found) {
        EXPECT_TRUE(answer.empty() || answer[0] != '-' || answer == "-11009" ||
                    answer == "-11013" || answer == "-11033")
            << rule << ": " << answer;
    }
}

TEST_F(BadInput, IniFileOfOneGigabyteIsReadInMemoryOfItsLines) {
    const std::string path = file("huge.ini", "[first]\nk=1\n");
    std::error_code unsupported;
    fs::resize_file(path, std::uintmax_t{1} << 30, unsupported);
    if (unsupported) {
        GTEST_SKIP() << "no sparse file of 1 GiB here: " << unsupported.message();
    }
    // One line of a gigabyte of NUL bytes, then the section looked for.
    std::ofstream(path, std::ios::app) << "\n[s]\nk=v\n";
    const Process run = corehost("eval 'Concat(separator=\" \", IniFileKeyValue(file=\"" + path +
                                 "\", section=s, key=k), IniFileKeyExists(file=\"" + path +
                                 "\", section=s, key=missing))'");
    EXPECT_EQ(run.out, "v false\n");
    // The largest of the children so far, corehost's among them.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    if (kMemoryLimitKb > 0) {
        EXPECT_LT(usage.ru_maxrss, kMemoryLimitKb);
    }
}

// Every text in every property and every child of every expression, and no property at all: an
// answer, or a failure with one of the plug-in's own codes. The last four texts no rule can hold,
// but another host may set.
TEST(AnyText, InEveryPropertyOfEveryExpression) {
    corehost::LoadError error;
    const auto module = corehost::PluginModule::load(COREHOST_REAL_PLUGIN, error);
    ASSERT_TRUE(module) << error.message;
    corehost::PluginSet plugins;
    plugins.add(module->plugin(), "CorePlugin", COREHOST_REAL_PLUGIN);
    std::wstring wildcards;
    for (int i = 0; i < 45; ++i) {
        wildcards += L"*?";
    }
    const std::wstring texts[] = {L"",
                                  L"caf\u00e9 \U0001F600 e\u0301 \uFFFD \U0010FFFF",
                                  L"\\ ; * ? \n \r \t \" [s] =",
                                  L"-2147483649",
                                  L"4294967296",
                                  wildcards,
                                  L"/",
                                  {static_cast<wchar_t>(0xD800)},
                                  {L'/', static_cast<wchar_t>(0xDFFF), L'/'},
                                  {L'a', static_cast<wchar_t>(0x110000)},
                                  {static_cast<wchar_t>(-1)}};
    for (const Shape& shape : kShapes) {
        for (std::size_t i = 0; i <= std::size(texts); ++i) {
            const bool bare = i == std::size(texts);
            const std::wstring& text = texts[bare ? 0 : i];
            corehost::RuleNode root;
            root.name.assign(shape.name, shape.name + std::strlen(shape.name));
            for (std::size_t p = 0; p < (bare ? 0 : shape.properties.size()); ++p) {
                const char* property = shape.properties[p];
                root.properties.push_back(
                    {std::wstring(property, property + std::strlen(property)), text, {}});
            }
            for (int child = 0; child < (bare ? 0 : shape.children); ++child) {
                corehost::RuleNode value;
                value.name = L"ValueOf";
                value.properties.push_back({L"value", text, {}});
                root.children.push_back(value);
            }
            corehost::ExpressionTree tree(plugins);
            ASSERT_EQ(tree.instantiate(root), 0);
            const std::int32_t status = tree.evaluate();
            EXPECT_STRNE(corehost::codeMeaning(status), "unknown result code") << shape.name;
        }
    }
}

}  // namespace
