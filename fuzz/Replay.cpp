// Replays a fuzz target's corpus without libFuzzer: every file named on the command line, or
// found in a directory named there, goes once through the target. Test builds run it with any
// compiler, so each committed input is also a regression test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A crash or a broken property aborts the process: the file replayed last is the finding.
    std::fprintf(stderr, "%s\n", file.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) {
            replay(argv[i]);
            continue;
        }
        std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(argv[i]), {});
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& file : files) {
            replay(file);
        }
    }
    return 0;
}
