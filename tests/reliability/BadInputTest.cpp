// An INI file of a gigabyte through corehost, as a user meets it: the answer comes, in memory that
// does not grow with the file. Other bad input is data: tests/cli/bad-input.cases.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/TestSupport.h"

TEST(BadInput, IniFileOfOneGigabyteIsReadInMemoryOfItsLines) {
    const platform_test::TempDir directory;
    const std::string path = (directory.path() / "huge.ini").string();
    std::ofstream(path) << "[first]\nk=1\n";
    std::error_code unsupported;
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30, unsupported);
    if (unsupported) {
        GTEST_SKIP() << "no sparse file of 1 GiB here: " << unsupported.message();
    }
    // One line of a gigabyte of NUL bytes, then the section looked for.
    std::ofstream(path, std::ios::app) << "\n[s]\nk=v\n";
    const auto run =
        platform_test::runCommand("timeout 300 " COREHOST_EMULATOR " " COREHOST_BINARY
                                  " eval 'Concat(separator=\" \", "
                                  "IniFileKeyValue(file=\"" +
                                  path + "\", section=s, key=k), IniFileKeyExists(file=\"" + path +
                                  "\", section=s, key=missing))'");
    EXPECT_EQ(run.out, "v false\n");
    // The high-water mark of a child starts from the parent's at fork time, which the address
    // sanitizer's quarantine keeps large: there memory is not measured.
#ifndef __SANITIZE_ADDRESS__
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(usage.ru_maxrss, 256 * 1024);
#endif
}
