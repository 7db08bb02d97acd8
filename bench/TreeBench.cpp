// One evaluation of a representative tree per expression through the host's evaluator, on a
// tree instantiated once and disposed after each run, as a host re-evaluates a rule. The floor
// is BM_Tree/ValueOf: one node, one protocol round trip.

#include <benchmark/benchmark.h>

#include <string>

#include "HostHarness.h"

namespace {

struct Tree {
    const char* name;
    const char* rule;
};

// The examples of each expression's documentation, with the files every Debian machine has.
const Tree kTrees[] = {
    {"ValueOf", R"(ValueOf(value="1.2.0"))"},
    {"Clip", R"(Clip(inputString="2024-05-01", startIndex=5, endIndex=6))"},
    {"Contains", R"(Contains(inputString=/usr/local/bin, searchedString=/usr/, position=start))"},
    {"StringSlice", R"(StringSlice(inputString="report.tar.gz", startIndex=-2, endIndex=""))"},
    {"StringCrop",
     R"(StringCrop(inputString="GNU bash, version 5.2.15(1)-release", startString="version ", endString="(", seekFrom=left))"},
    {"Substring",
     R"(Substring(inputString="# /etc/shells\n/bin/sh\n/bin/bash\n\n/usr/bin/bash\n/bin/dash", searchedString=bash))"},
    {"Match", R"(Match(inputString=/var/log/Kern.LOG, filter="*.log", ignoreCase=true))"},
    {"Not", R"(Not(ValueOf(value=false)))"},
    {"And", R"(And(ValueOf(value=true), ValueOf(value=true)))"},
    {"Or", R"(Or(ValueOf(value=false), ValueOf(value=true)))"},
    {"Compare", R"(Compare(type=version, relation=ge, ValueOf(value=1.10), ValueOf(value=1.9)))"},
    {"BitwiseAnd", R"(BitwiseAnd(ValueOf(value=420), ValueOf(value=18)))"},
    {"BitwiseInclusiveOr", R"(BitwiseInclusiveOr(ValueOf(value=420), ValueOf(value=18)))"},
    {"BitwiseExclusiveOr", R"(BitwiseExclusiveOr(ValueOf(value=420), ValueOf(value=18)))"},
    {"Switch",
     R"(Switch(default=none, ValueOf(value=false), ValueOf(value=A), ValueOf(value=true), ValueOf(value=B)))"},
    {"Concat", R"(Concat(separator=",", ValueOf(value=a), ValueOf(value=b), ValueOf(value=c)))"},
    {"Md5", R"(Md5(ValueOf(value="Hello from "), ValueOf(value=CorePlugin)))"},
    {"Vector",
     R"(Vector(filter="*.log", ValueOf(value=a.log), ValueOf(value=b.txt), ValueOf(value=c.log)))"},
    {"Sort",
     R"(Sort(filter="*", order=desc, ValueOf(value=b), ValueOf(value=a), ValueOf(value=c)))"},
    {"VectorAt", R"(VectorAt(index=2, Vector(filter="*", ValueOf(value=a), ValueOf(value=b))))"},
    {"VectorIterator", R"(VectorIterator(Vector(filter="*", ValueOf(value=a), ValueOf(value=b))))"},
    {"VectorToScalar", R"(VectorToScalar(ValueOf(value=a), ValueOf(value="b;c")))"},
    {"ScalarToVector", R"(ScalarToVector(ValueOf(value="a;b\\;c;")))"},
    {"FileExists", R"(FileExists(absolutePath=/etc/passwd))"},
    {"PathExists", R"(PathExists(absolutePath=/etc))"},
    {"FileDirectory", R"(FileDirectory(file=/usr/lib/os-release))"},
    {"FileInfo", R"(FileInfo(absolutePath=/etc/passwd, field=size))"},
    {"FileInfoCompare",
     R"(FileInfoCompare(absolutePath=/etc/passwd, field=size, relation=gt, value=0))"},
    {"IniFileKeyExists", R"(IniFileKeyExists(file=/etc/os-release, section="", key=VERSION_ID))"},
    {"IniFileKeyValue", R"(IniFileKeyValue(file=/etc/os-release, section="", key=PRETTY_NAME))"},
    {"MountPath", R"(MountPath(absolutePath=/etc/passwd))"},
    {"MountRemotePath", R"(MountRemotePath(absolutePath=/etc/passwd))"},
    {"MountServer", R"(MountServer(absolutePath=/etc/passwd))"},
};
static_assert(std::size(kTrees) == 33);

void tree(benchmark::State& state, const char* rule) {
    bench::evaluateRule(state, rule);
}

const bool kRegistered = [] {
    for (const Tree& entry : kTrees) {
        benchmark::RegisterBenchmark((std::string("BM_Tree/") + entry.name).c_str(), tree,
                                     entry.rule);
    }
    return true;
}();

}  // namespace
