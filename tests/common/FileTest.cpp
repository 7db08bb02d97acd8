#include "common/File.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PluginSDK/ResultCodes.h"
#include "common/Path.h"
#include "cross/ProbeTesting.h"

namespace {

using CorePlugin::File;
using CorePlugin::Path;

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

// Every value accessor, named for failure messages.
const struct Accessor {
    const char* name;
    std::int32_t (File::*read)(std::uint32_t*) const;
} kAccessors[] = {
    {"size", &File::size},      {"inode", &File::getINode}, {"ctime", &File::getCTime},
    {"atime", &File::getATime}, {"mtime", &File::getMTime},
};

std::int32_t read(const File& file, const Accessor& accessor, std::uint32_t& value) {
    value = kUntouched;
    return (file.*accessor.read)(&value);
}

TEST(FileTest, NullArgumentsComeBeforeAMissingPath) {
    const File noPath(nullptr);
    const Path noDirectory(nullptr);
    EXPECT_EQ(noPath.getPath(), nullptr);
    EXPECT_EQ(noPath.exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(noDirectory.exists(nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    bool exists = true;
    EXPECT_EQ(noPath.exists(&exists), PluginSDK::RC_FILE_NO_PATH);
    EXPECT_EQ(noDirectory.exists(&exists), PluginSDK::RC_PATH_NO_PATH);
    EXPECT_TRUE(exists);
    for (const Accessor& accessor : kAccessors) {
        std::uint32_t value = 0;
        EXPECT_EQ((noPath.*accessor.read)(nullptr), PluginSDK::RC_INVALID_ARGUMENT)
            << accessor.name;
        EXPECT_EQ(read(noPath, accessor, value), PluginSDK::RC_FILE_NO_PATH) << accessor.name;
        EXPECT_EQ(value, kUntouched);
    }
}

TEST(FileTest, KeepsItsOwnCopyOfThePath) {
    std::wstring path = L"/etc/passwd";
    const File file(path.c_str());
    const Path directory(path.c_str());
    path[1] = L'X';
    EXPECT_STREQ(file.getPath(), L"/etc/passwd");
    EXPECT_STREQ(directory.getPath(), L"/etc/passwd");
    wchar_t canonical[] = L"/a/b";
    EXPECT_EQ(File::toCanonicalPath(canonical), canonical);
    EXPECT_STREQ(canonical, L"/a/b");
    EXPECT_EQ(File::toCanonicalPath(nullptr), nullptr);
}

// Values that do not fit in 32 bits are refused rather than cut; those from 2^31 up that do fit
// are handed out whole. The tree is changed with this machine's tools, which set 64-bit times and
// sizes in every build.
TEST(FileTest, RefusesValuesBeyondThirtyTwoBits) {
    const probe::Tree tree;
    const std::string file = (tree.root() / "file").string();
    const struct {
        const char* command;
        std::int32_t code;
        std::uint32_t mtime;
    } times[] = {
        {"touch -m -d @2147483653", PluginSDK::RC_SUCCESS, 2147483653U},
        {"touch -m -d @4294967295", PluginSDK::RC_SUCCESS, 4294967295U},
        {"touch -m -d @4294967296", PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
        {"touch -m -d @-1", PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
    };
    for (const auto& t : times) {
        if (!probe::runTool(std::string(t.command) + " " + file)) {
            GTEST_SKIP() << "this file system does not keep the time of: " << t.command;
        }
        std::uint32_t mtime = kUntouched;
        bool exists = false;
        const File probe(tree["file"].c_str());
        EXPECT_EQ(probe.getMTime(&mtime), t.code) << t.command;
        EXPECT_EQ(mtime, t.mtime) << t.command;
        EXPECT_EQ(probe.exists(&exists), PluginSDK::RC_SUCCESS);
        EXPECT_TRUE(exists);
    }
    const struct {
        const char* size;
        std::int32_t code;
        std::uint32_t value;
    } sizes[] = {
        {"3000000000", PluginSDK::RC_SUCCESS, 3000000000U},
        {"4294967295", PluginSDK::RC_SUCCESS, 4294967295U},
        {"4294967296", PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
    };
    for (const auto& s : sizes) {
        if (!probe::runTool(std::string("truncate -s ") + s.size + " " + file)) {
            GTEST_SKIP() << "this file system holds no sparse file of " << s.size << " bytes";
        }
        std::uint32_t size = kUntouched;
        bool exists = false;
        const File probe(tree["file"].c_str());
        EXPECT_EQ(probe.size(&size), s.code) << s.size;
        EXPECT_EQ(size, s.value) << s.size;
        EXPECT_EQ(probe.exists(&exists), PluginSDK::RC_SUCCESS);
        EXPECT_TRUE(exists);
    }
}

}  // namespace
