// The file probes FileExists, PathExists, FileInfo and FileInfoCompare, on a tree with one entry
// of each kind, checked against what stat(2) reports.

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/PathExists.h"
#include "cross/ProbeTesting.h"

using namespace CorePlugin;
using harness::evaluate;

namespace {

std::string info(const std::wstring& path, const wchar_t* field) {
    return probe::describe(evaluate<FileInfo>({{L"absolutePath", path}, {L"field", field}}));
}

std::string compare(const std::wstring& path, const wchar_t* field, const wchar_t* relation,
                    const std::wstring& value, const wchar_t* mustExist = nullptr) {
    harness::Properties properties = {
        {L"absolutePath", path}, {L"field", field}, {L"relation", relation}, {L"value", value}};
    if (mustExist != nullptr) {
        properties.emplace_back(L"mustExist", mustExist);
    }
    return probe::describe(evaluate<FileInfoCompare>(properties));
}

// Properties as harness::parse reads them, where a value "$name" stands for the path of that
// entry of the tree.
harness::Properties inTree(const probe::Tree& tree, const wchar_t* text) {
    harness::Properties properties = harness::parse(text);
    for (auto& [name, value] : properties) {
        if (value.rfind(L"$", 0) == 0) {
            value = tree[std::string(value.begin() + 1, value.end())];
        }
    }
    return properties;
}

std::wstring decimal(std::uint64_t value) {
    return std::to_wstring(value);
}

// The decimal text FileInfo gives for a 32-bit value: from 2^31 up it reads as signed.
std::string asResult(std::uint64_t value) {
    return "0:" + std::to_string(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace

TEST(FileExistsTest, AnswersForEachKindOfEntryAndFailsWithoutAPath) {
    const probe::Tree tree;
    const wchar_t unconvertible[] = {L'/', static_cast<wchar_t>(0x110000), L'\0'};
    const struct {
        std::wstring path;
        std::string file;       // FileExists as "code:result"
        std::string directory;  // PathExists
    } cases[] = {
        {tree["file"], "0:true", "0:false"},
        {tree["empty"], "0:true", "0:false"},
        {tree["link-to-file"], "0:true", "0:false"},
        {tree["dir"], "0:false", "0:true"},
        {tree["link-to-dir"], "0:false", "0:true"},
        {tree["missing"], "0:false", "0:false"},
        {tree["dangling"], "0:false", "0:false"},
        {tree["fifo"], "0:false", "0:false"},
        {tree["socket"], "0:true", "0:true"},
        {L"/dev/null", "0:false", "0:false"},
        {L"", "0:false", "0:false"},
        // A failed status read is no answer: the stale result is cleared.
        {tree["file"] + L"/below", "-11009:", "-11009:"},
        {tree["loop-a"], "-11009:", "-11009:"},
        {unconvertible, "-11009:", "-11009:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(probe::describe(evaluate<FileExists>({{L"absolutePath", c.path}})), c.file)
            << probe::fs::path(c.path);
        EXPECT_EQ(probe::describe(evaluate<PathExists>({{L"absolutePath", c.path}})), c.directory)
            << probe::fs::path(c.path);
    }
    if (const auto device = probe::blockDevice()) {
        // Its type 0x6000 holds the directory bit.
        const harness::Properties properties = {{L"absolutePath", device->wstring()}};
        EXPECT_EQ(probe::describe(evaluate<FileExists>(properties)), "0:false");
        EXPECT_EQ(probe::describe(evaluate<PathExists>(properties)), "0:true");
    }
    for (const harness::Properties& absent :
         {harness::Properties{}, harness::Properties{{L"AbsolutePath", L"/"}},
          harness::Properties{{L"file", L"/"}}}) {
        EXPECT_EQ(probe::describe(evaluate<FileExists>(absent)), "-11025:");
        EXPECT_EQ(probe::describe(evaluate<PathExists>(absent)), "-11025:");
    }
}

TEST(FileProbesTest, ADirectoryThatMayNotBeSearchedFails) {
    PROBE_REQUIRE_UNPRIVILEGED_USER();
    const probe::Tree tree;
    const harness::Properties hidden = {{L"absolutePath", tree["locked/file"]}};
    const harness::Properties visible = {{L"absolutePath", tree["file"]}};
    EXPECT_EQ(probe::describeUnprivileged<FileExists>(hidden), "-11009:");
    EXPECT_EQ(probe::describeUnprivileged<PathExists>(hidden), "-11009:");
    EXPECT_EQ(probe::describeUnprivileged<FileExists>(visible), "0:true");
    EXPECT_EQ(probe::describeUnprivileged<FileInfo>(
                  {{L"absolutePath", tree["locked/file"]}, {L"field", L"size"}}),
              "-11009:");
}

TEST(FileExistsTest, FollowsTheFileSystemFromOneEvaluationToTheNext) {
    const probe::Tree tree;
    FileExists file;
    PathExists directory;
    file.setProperty(L"absolutePath", tree["new"].c_str());
    directory.setProperty(L"absolutePath", tree["new"].c_str());
    EXPECT_EQ(probe::describe(harness::result(file)), "0:false");
    probe::fs::create_directory(tree.root() / "new");
    file.disposeExpression();
    EXPECT_EQ(probe::describe(harness::result(file)), "0:false");
    EXPECT_EQ(probe::describe(harness::result(directory)), "0:true");
    probe::fs::remove(tree.root() / "new");
    std::ofstream(tree.root() / "new") << "now a file";
    EXPECT_EQ(probe::describe(harness::result(file)), "0:true");
    EXPECT_EQ(probe::describe(harness::result(directory)), "0:false");
}

TEST(FileInfoTest, ReportsWhatStatReports) {
    const probe::Tree tree;
    for (const char* name : {"file", "empty", "link-to-file", "socket"}) {
        const auto status = probe::statOf(tree.root() / name);
        ASSERT_TRUE(status.has_value()) << name;
        EXPECT_EQ(info(tree[name], L"size"), asResult(status->st_size)) << name;
        EXPECT_EQ(info(tree[name], L"inode"), asResult(status->st_ino)) << name;
        EXPECT_EQ(info(tree[name], L"mtime"), asResult(status->st_mtime)) << name;
        EXPECT_EQ(info(tree[name], L"ctime"), asResult(status->st_ctime)) << name;
        EXPECT_EQ(info(tree[name], L"atime"), asResult(status->st_atime)) << name;
    }
}

TEST(FileInfoTest, FailuresClearTheResult) {
    const probe::Tree tree;
    const struct {
        const wchar_t* properties;
        std::string expected;
    } cases[] = {
        {L"absolutePath=$dir field=mtime", "-11013:"},
        {L"absolutePath=$link-to-dir field=size", "-11013:"},
        {L"absolutePath=$fifo field=size", "-11013:"},
        {L"absolutePath=/dev/null field=inode", "-11013:"},
        {L"absolutePath=$missing field=mtime", "-11009:"},
        {L"absolutePath=$dangling field=size", "-11009:"},
        {L"absolutePath=$loop-a field=size", "-11009:"},
        {L"absolutePath=$file/below field=size", "-11009:"},
        {L"absolutePath= field=size", "-11009:"},
        // The properties' presence in order, then the field before the file is looked at.
        {L"", "-11025:"},
        {L"field=size", "-11025:"},
        {L"absolutePath=/etc/passwd", "-11027:"},
        {L"absolutePath=$file field=Size", "-11011:"},
        {L"absolutePath=$file field=", "-11011:"},
        {L"absolutePath=$missing field=version", "-11011:"},
        {L"absolutePath=$dir field=MTIME", "-11011:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(probe::describe(evaluate<FileInfo>(inTree(tree, c.properties))), c.expected)
            << std::wstring(c.properties);
    }
    EXPECT_EQ(info(tree["file"], L"size "), "-11011:");
}

TEST(FileInfoCompareTest, ComparesTheAttributeStatReports) {
    const probe::Tree tree;
    const auto status = probe::statOf(tree.root() / "file");
    ASSERT_TRUE(status.has_value());
    const std::wstring file = tree["file"];
    const std::wstring future = decimal(static_cast<std::uint64_t>(std::time(nullptr)) + 100000);
    const struct {
        const wchar_t* field;
        const wchar_t* relation;
        std::wstring value;
        std::string expected;
    } cases[] = {
        // Each relation is the common one; what matters here is each field's value and type.
        {L"size", L"eq", L"1234", "0:true"},
        {L"size", L"le", L"1233", "0:false"},
        {L"size", L"ge", L"-5", "0:true"},
        {L"inode", L"eq", decimal(status->st_ino), "0:true"},
        // -1 reads as 4294967295, above every inode number of a 32-bit value.
        {L"inode", L"lt", L"-1", "0:true"},
        {L"inode", L"eq", L"-1", "0:false"},
        {L"mtime", L"eq", decimal(status->st_mtime), "0:true"},
        {L"mtime", L"lt", future, "0:true"},
        {L"ctime", L"le", decimal(status->st_ctime), "0:true"},
        {L"atime", L"ge", decimal(status->st_atime), "0:true"},
        {L"atime", L"gt", decimal(status->st_atime), "0:false"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare(file, c.field, c.relation, c.value), c.expected)
            << std::wstring(c.field) << L" " << c.relation << L" " << c.value;
        EXPECT_EQ(compare(tree["link-to-file"], c.field, c.relation, c.value), c.expected);
    }
}

TEST(FileInfoCompareTest, AMissingFileSatisfiesNoRelationUnlessItMustExist) {
    const probe::Tree tree;
    // A directory, a FIFO and a dangling link are no regular files: they count as missing.
    for (const char* name : {"missing", "dir", "fifo", "dangling"}) {
        for (const wchar_t* relation : {L"eq", L"ne", L"gt", L"ge", L"lt", L"le"}) {
            EXPECT_EQ(compare(tree[name], L"size", relation, L"0"), "0:false") << name;
        }
        EXPECT_EQ(compare(tree[name], L"size", L"ne", L"0", L"true"), "-11033:") << name;
        // Only the exact word "true" requires the file, so nothing here reaches -11028.
        for (const wchar_t* mustExist : {L"false", L"TRUE", L"yes", L""}) {
            EXPECT_EQ(compare(tree[name], L"size", L"ne", L"0", mustExist), "0:false") << name;
        }
    }
}

TEST(FileInfoCompareTest, CodesComeInTheirOrder) {
    const probe::Tree tree;
    const struct {
        const wchar_t* properties;
        std::string expected;
    } cases[] = {
        // The relation's presence first, then the other properties in order.
        {L"", "-11023:"},
        {L"absolutePath=$file field=size value=1", "-11023:"},
        {L"relation=eq field=size", "-11025:"},
        {L"relation=eq absolutePath=$file value=1", "-11027:"},
        {L"relation=eq absolutePath=$file field=size", "-11022:"},
        // Then the file: a missing file that must exist outranks every text.
        {L"absolutePath=$missing field=version relation=EQ value=abc mustExist=true", "-11033:"},
        // Then the field, the value and at last the relation's name.
        {L"absolutePath=$file field=version relation=EQ value=x", "-11011:"},
        {L"absolutePath=$file field=Size relation=eq value=1", "-11011:"},
        {L"absolutePath=$missing field=Size relation=eq value=1", "-11011:"},
        {L"absolutePath=$file field=atime relation=EQ value=abc", "-101:"},
        {L"absolutePath=$missing field=size relation=eq value=abc", "-101:"},
        {L"absolutePath=$file field=size relation=EQ value=1", "-11007:"},
        {L"absolutePath=$missing field=size relation=EQ value=1", "-11007:"},
        {L"absolutePath=$file/below field=size relation=eq value=1", "-11009:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(probe::describe(evaluate<FileInfoCompare>(inTree(tree, c.properties))),
                  c.expected)
            << std::wstring(c.properties);
    }
}

// Values that do not fit in 32 bits are refused rather than cut; sizes from 2^31 up read as
// signed numbers.
TEST(FileInfoTest, ValuesBeyondThirtyTwoBitsAreRefusedAndTheRestReadAsSigned) {
    const probe::Tree tree;
    const std::string file = (tree.root() / "file").string();
    if (!probe::runTool("truncate -s 3000000000 " + file) ||
        !probe::runTool("touch -m -d @4294967296 " + file)) {
        GTEST_SKIP() << "this file system holds no sparse file of 3000000000 bytes or no time "
                        "beyond 32 bits";
    }
    EXPECT_EQ(info(tree["file"], L"size"), "0:-1294967296");
    EXPECT_EQ(compare(tree["file"], L"size", L"lt", L"0"), "0:true");
    EXPECT_EQ(compare(tree["file"], L"size", L"eq", L"-1294967296"), "0:true");
    EXPECT_EQ(info(tree["file"], L"mtime"), "-11009:");
    ASSERT_TRUE(probe::runTool("truncate -s 4294967296 " + file));
    EXPECT_EQ(info(tree["file"], L"size"), "-11009:");
    EXPECT_EQ(compare(tree["file"], L"size", L"gt", L"0"), "-11009:");
    EXPECT_EQ(compare(tree["file"], L"size", L"gt", L"0", L"true"), "-11009:");
}
