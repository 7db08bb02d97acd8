// The three mount expressions hand over what the plug-in's table answers; the table's own
// lookups are the platform tests' subject.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "PluginSDK/ResultCodes.h"
#include "base/mountlist.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "harness/Harness.h"

using namespace CorePlugin;

namespace {

/// The three answers for `properties`, each "code:result".
std::wstring ask(const mountlist* table, const harness::Properties& properties) {
    std::wstring answers;
    for (const harness::Outcome& outcome : {harness::evaluate<MountPath>(properties, table),
                                            harness::evaluate<MountRemotePath>(properties, table),
                                            harness::evaluate<MountServer>(properties, table)}) {
        answers +=
            (answers.empty() ? L"" : L" ") + std::to_wstring(outcome.code) + L":" + outcome.result;
    }
    return answers;
}

}  // namespace

TEST(MountExpressionsTest, AnswerFromTheTableOrFailAfterThePropertyCheck) {
    mountlist table;
    ASSERT_EQ(table.Initialize((std::filesystem::path(__FILE__).parent_path().parent_path() /
                                "fixtures" / "mountinfo" / "network.mountinfo")
                                   .c_str()),
              0);
    const wchar_t unconvertible[] = {L'/', L'm', L'n', L't', L'/', static_cast<wchar_t>(0xD800),
                                     L'\0'};
    const struct {
        std::wstring path;
        std::wstring answers;  // MountPath, MountRemotePath, MountServer
    } cases[] = {
        {L"/mnt/nfs/a/b", L"0:/mnt/nfs 0:/volume1/data 0:nas"},
        // A local mount has no remote path: the path answers for itself, unchanged.
        {L"/home2//./x", L"0:/home2 0:/home2//./x 0:"},
        {L"/media/caf\u00e9/photo", L"0:/media/caf\u00e9 0:/media/caf\u00e9/photo 0:"},
        // A path the table cannot place answers empty texts, and the remote path falls back.
        {L"", L"0: 0: 0:"},
        // A path without a multibyte form comes back empty.
        {unconvertible, L"0: 0: 0:"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ask(&table, {{L"absolutePath", c.path}}), c.answers) << c.path;
    }
    EXPECT_EQ(ask(&table, {{L"file", L"/mnt/nfs"}}), L"-11025: -11025: -11025:");
    mountlist unread;
    for (const mountlist* broken :
         {static_cast<const mountlist*>(nullptr), &std::as_const(unread)}) {
        EXPECT_EQ(ask(broken, {{L"absolutePath", L"/"}}), L"-400: -400: -400:");
        EXPECT_EQ(ask(broken, {}), L"-11025: -11025: -11025:");
    }
}
