#include "cross/MountPath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "base/mountlist.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "harness/Harness.h"

using CorePlugin::MountPath;
using CorePlugin::MountRemotePath;
using CorePlugin::MountServer;
using harness::evaluate;

namespace {

const std::string kNetworkTable = (std::filesystem::path(__FILE__).parent_path().parent_path() /
                                   "fixtures" / "mountinfo" / "network.mountinfo")
                                      .string();

struct Answers {
    harness::Outcome path;
    harness::Outcome remotePath;
    harness::Outcome server;
};

Answers ask(const mountlist* table, const harness::Properties& properties) {
    return {evaluate<MountPath>(properties, table), evaluate<MountRemotePath>(properties, table),
            evaluate<MountServer>(properties, table)};
}

class MountExpressionsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(table.Initialize(kNetworkTable.c_str()), 0); }
    mountlist table;
};

}  // namespace

TEST_F(MountExpressionsTest, AnswerFromTheTable) {
    const struct {
        std::wstring path;
        std::wstring mountPath;
        std::wstring remotePath;
        std::wstring server;
    } cases[] = {
        {L"/mnt/nfs/a/b", L"/mnt/nfs", L"/volume1/data", L"nas"},
        // A local mount has no remote path: the path answers for itself.
        {L"/home/bob/notes.txt", L"/home", L"/home/bob/notes.txt", L""},
        {L"/media/caf\u00e9/photo", L"/media/caf\u00e9", L"/media/caf\u00e9/photo", L""},
        // The path is handed over unchanged, and so is the fallback.
        {L"/home2//./x", L"/home2", L"/home2//./x", L""},
        // A path the table cannot place answers empty texts, and the remote path falls back.
        {L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        const Answers answers = ask(&table, {{L"absolutePath", c.path}});
        EXPECT_EQ(answers.path.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(answers.remotePath.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(answers.server.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(answers.path.result, c.mountPath) << c.path;
        EXPECT_EQ(answers.remotePath.result, c.remotePath) << c.path;
        EXPECT_EQ(answers.server.result, c.server) << c.path;
    }
}

TEST_F(MountExpressionsTest, APathWithoutAMultibyteFormComesBackEmpty) {
    const wchar_t path[] = {L'/', L'm', L'n', L't', L'/', static_cast<wchar_t>(0xD800), L'\0'};
    const Answers answers = ask(&table, {{L"absolutePath", path}});
    for (const harness::Outcome& outcome : {answers.path, answers.remotePath, answers.server}) {
        EXPECT_EQ(outcome.code, PluginSDK::RC_SUCCESS);
        EXPECT_EQ(outcome.result, L"");
    }
}

TEST_F(MountExpressionsTest, WithoutAValidTableTheyFailAfterThePropertyCheck) {
    mountlist unread;
    for (const mountlist* broken :
         {static_cast<const mountlist*>(nullptr), static_cast<const mountlist*>(&unread)}) {
        const Answers present = ask(broken, {{L"absolutePath", L"/"}});
        const Answers absent = ask(broken, {});
        for (const harness::Outcome& outcome : {present.path, present.remotePath, present.server}) {
            EXPECT_EQ(outcome.code, PluginSDK::RC_MOUNT_TABLE_UNAVAILABLE);
            EXPECT_EQ(outcome.result, L"");
        }
        for (const harness::Outcome& outcome : {absent.path, absent.remotePath, absent.server}) {
            EXPECT_EQ(outcome.code, PluginSDK::RC_ABSOLUTE_PATH_ABSENT);
            EXPECT_EQ(outcome.result, L"");
        }
    }
}

TEST_F(MountExpressionsTest, AbsentPathFailsWithAValidTable) {
    const Answers answers = ask(&table, {{L"file", L"/mnt/nfs"}});
    for (const harness::Outcome& outcome : {answers.path, answers.remotePath, answers.server}) {
        EXPECT_EQ(outcome.code, PluginSDK::RC_ABSOLUTE_PATH_ABSENT);
        EXPECT_EQ(outcome.result, L"");
    }
}
