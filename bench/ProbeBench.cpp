// The file probes beside the system calls they make. FileExists, PathExists and FileInfo read a
// path's status with statx; the C library's stat on the same path is the floor. Each is measured
// on an existing file, a missing path and a path below a regular file (which fails with ENOTDIR).

#include <fcntl.h>
#include <sys/stat.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "HostHarness.h"
#include "common/File.h"

namespace {

struct Target {
    const char* name;
    const char* path;
    const wchar_t* widePath;
    std::int32_t fileInfoStatus;  // what FileInfo answers for it
};

const Target kTargets[] = {
    {"existing", "/etc/passwd", L"/etc/passwd", 0},
    {"missing", "/etc/no-such-file", L"/etc/no-such-file", -11009},
    {"belowFile", "/etc/passwd/below", L"/etc/passwd/below", -11009},
};

void libcStat(benchmark::State& state, const Target* target) {
    struct stat status;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::stat(target->path, &status));
    }
}

void rawStatx(benchmark::State& state, const Target* target) {
    struct statx status;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ::statx(AT_FDCWD, target->path, AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS, &status));
    }
}

// The plug-in's File class alone: the path copied and converted to UTF-8, then statx.
void fileClass(benchmark::State& state, const Target* target) {
    for (auto _ : state) {
        const CorePlugin::File file(target->widePath);
        bool exists = false;
        benchmark::DoNotOptimize(file.exists(&exists));
        benchmark::DoNotOptimize(exists);
    }
}

void fileExistsTree(benchmark::State& state, const Target* target) {
    // Below a regular file the status cannot be read for another reason than absence.
    const std::int32_t expected = std::string(target->name) == "belowFile" ? -11009 : 0;
    bench::evaluateRule(state, std::string("FileExists(absolutePath=") + target->path + ")",
                        expected);
}

void pathExistsTree(benchmark::State& state, const Target* target) {
    const std::int32_t expected = std::string(target->name) == "belowFile" ? -11009 : 0;
    bench::evaluateRule(state, std::string("PathExists(absolutePath=") + target->path + ")",
                        expected);
}

void fileInfoTree(benchmark::State& state, const Target* target) {
    bench::evaluateRule(state,
                        std::string("FileInfo(absolutePath=") + target->path + ", field=size)",
                        target->fileInfoStatus);
}

const bool kRegistered = [] {
    for (const Target& target : kTargets) {
        const std::string suffix = std::string("/") + target.name;
        benchmark::RegisterBenchmark(("BM_LibcStat" + suffix).c_str(), libcStat, &target);
        benchmark::RegisterBenchmark(("BM_Statx" + suffix).c_str(), rawStatx, &target);
        benchmark::RegisterBenchmark(("BM_FileClass" + suffix).c_str(), fileClass, &target);
        benchmark::RegisterBenchmark(("BM_FileExistsTree" + suffix).c_str(), fileExistsTree,
                                     &target);
        benchmark::RegisterBenchmark(("BM_PathExistsTree" + suffix).c_str(), pathExistsTree,
                                     &target);
        benchmark::RegisterBenchmark(("BM_FileInfoTree" + suffix).c_str(), fileInfoTree, &target);
    }
    return true;
}();

}  // namespace
