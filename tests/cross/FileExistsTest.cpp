#include "cross/FileExists.h"

#include <gtest/gtest.h>

#include <string>

#include "PluginSDK/ResultCodes.h"
#include "cross/PathExists.h"
#include "cross/ProbeTesting.h"

using CorePlugin::FileExists;
using CorePlugin::PathExists;
using harness::evaluate;

TEST(FileExistsTest, AnswersForEachKindOfEntry) {
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
}

TEST(FileExistsTest, AbsentPathFails) {
    for (const harness::Properties& properties :
         {harness::Properties{}, harness::Properties{{L"AbsolutePath", L"/"}},
          harness::Properties{{L"file", L"/"}}}) {
        EXPECT_EQ(probe::describe(evaluate<FileExists>(properties)), "-11025:");
        EXPECT_EQ(probe::describe(evaluate<PathExists>(properties)), "-11025:");
    }
}

TEST(FileExistsTest, ADirectoryThatMayNotBeSearchedFails) {
    PROBE_REQUIRE_UNPRIVILEGED_USER();
    const probe::Tree tree;
    const harness::Properties hidden = {{L"absolutePath", tree["locked/file"]}};
    const harness::Properties visible = {{L"absolutePath", tree["file"]}};
    EXPECT_EQ(probe::describeUnprivileged<FileExists>(hidden), "-11009:");
    EXPECT_EQ(probe::describeUnprivileged<PathExists>(hidden), "-11009:");
    EXPECT_EQ(probe::describeUnprivileged<FileExists>(visible), "0:true");
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
