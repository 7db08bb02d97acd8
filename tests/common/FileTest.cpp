#include "common/File.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "PluginSDK/ResultCodes.h"
#include "common/Path.h"
#include "common/PathCopy.h"
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

TEST(FileTest, NullArgumentsComeBeforeAMissingPathAndCanonicalPathsStay) {
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
        std::int32_t (File::*read)(std::uint32_t*) const;
        std::int32_t code;
        std::uint32_t value;
    } cases[] = {
        {"touch -m -d @2147483653", &File::getMTime, PluginSDK::RC_SUCCESS, 2147483653U},
        {"touch -m -d @4294967295", &File::getMTime, PluginSDK::RC_SUCCESS, 4294967295U},
        {"touch -m -d @4294967296", &File::getMTime, PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
        {"touch -m -d @-1", &File::getMTime, PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
        {"truncate -s 3000000000", &File::size, PluginSDK::RC_SUCCESS, 3000000000U},
        {"truncate -s 4294967295", &File::size, PluginSDK::RC_SUCCESS, 4294967295U},
        {"truncate -s 4294967296", &File::size, PluginSDK::RC_FILE_STATUS_FAILED, kUntouched},
    };
    for (const auto& c : cases) {
        if (!probe::runTool(std::string(c.command) + " " + file)) {
            GTEST_SKIP() << "this file system cannot hold the result of: " << c.command;
        }
        std::uint32_t value = kUntouched;
        bool exists = false;
        const File probe(tree["file"].c_str());
        EXPECT_EQ((probe.*c.read)(&value), c.code) << c.command;
        EXPECT_EQ(value, c.value) << c.command;
        EXPECT_EQ(probe.exists(&exists), PluginSDK::RC_SUCCESS);
        EXPECT_TRUE(exists);
    }
}

// A path short enough to be copied inside the object and a longer one copied by the runtime,
// ASCII or not, reach the same entry. Repeated separators (the system reads "//" as "/") pad
// each path to lengths around that limit; every answer is checked against stat(2) on the path's
// UTF-8 form.
TEST(FileTest, AnswersAlikeForPathsOfEveryLength) {
    const probe::Tree tree;
    const std::string accented = "caf\xC3\xA9-\xF0\x9F\x98\x80";
    std::ofstream(tree.root() / accented) << "12345";
    const std::string root = tree.root().string();
    for (const char c : root) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the temporary directory is not ASCII";
    }
    const struct {
        std::wstring name;
        std::string utf8;
    } names[] = {
        {L"file", "file"},
        {L"dir", "dir"},
        {L"missing", "missing"},
        {L"file/below", "file/below"},
        {L"caf\u00E9-\U0001F600", accented},
    };
    constexpr std::size_t kLimit = CorePlugin::PathCopy::INLINE_LENGTH;
    for (const auto& n : names) {
        for (const std::size_t length :
             {std::size_t{0}, kLimit - 2, kLimit - 1, kLimit, kLimit + 1, 3 * kLimit}) {
            const std::size_t bare = root.size() + 1 + n.name.size();
            const std::size_t separators = length > bare ? length - bare + 1 : 1;
            const std::wstring wide =
                std::wstring(root.begin(), root.end()) + std::wstring(separators, L'/') + n.name;
            const std::string utf8 = root + std::string(separators, '/') + n.utf8;
            SCOPED_TRACE(std::to_string(wide.size()) + " characters: " + utf8);

            struct stat status {};
            const bool read = ::stat(utf8.c_str(), &status) == 0;
            const bool absent = !read && errno == ENOENT;
            const bool regular = read && (status.st_mode & File::REGULAR_FILE) != 0;

            std::wstring source = wide;
            const File file(source.c_str());
            const Path directory(source.c_str());
            source.assign(source.size(), L'X');
            EXPECT_EQ(file.getPath(), wide);
            EXPECT_EQ(directory.getPath(), wide);

            bool exists = false;
            EXPECT_EQ(file.exists(&exists),
                      read || absent ? PluginSDK::RC_SUCCESS : PluginSDK::RC_FILE_STATUS_FAILED);
            EXPECT_EQ(exists, regular);
            exists = false;
            EXPECT_EQ(directory.exists(&exists),
                      read || absent ? PluginSDK::RC_SUCCESS : PluginSDK::RC_FILE_STATUS_FAILED);
            EXPECT_EQ(exists, read && (status.st_mode & Path::PATH) != 0);
            std::uint32_t size = kUntouched;
            EXPECT_EQ(file.size(&size), !read     ? PluginSDK::RC_FILE_STATUS_FAILED
                                        : regular ? PluginSDK::RC_SUCCESS
                                                  : PluginSDK::RC_NOT_A_REGULAR_FILE);
            EXPECT_EQ(size, regular ? static_cast<std::uint32_t>(status.st_size) : kUntouched);
        }
    }
}

}  // namespace
