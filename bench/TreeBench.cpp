// One evaluation of a representative tree per expression through the host's evaluator, on a
// tree instantiated once and disposed after each run, as a host re-evaluates a rule. The floor
// is BM_Tree/ValueOf: one node, one protocol round trip.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ExpressionTable.h"
#include "HostHarness.h"
#include "platform/utf8.h"

namespace {

// The examples of each expression's documentation, with the files every Debian machine has; the
// root of each names the expression it stands for.
const char* const kRules[] = {
    R"(ValueOf(value="1.2.0"))",
    R"(Clip(inputString="2024-05-01", startIndex=5, endIndex=6))",
    R"(Contains(inputString=/usr/local/bin, searchedString=/usr/, position=start))",
    R"(StringSlice(inputString="report.tar.gz", startIndex=-2, endIndex=""))",
    R"(StringCrop(inputString="GNU bash, version 5.2.15(1)-release", startString="version ", endString="(", seekFrom=left))",
    R"(Substring(inputString="# /etc/shells\n/bin/sh\n/bin/bash\n\n/usr/bin/bash\n/bin/dash", searchedString=bash))",
    R"(Match(inputString=/var/log/Kern.LOG, filter="*.log", ignoreCase=true))",
    R"(Not(ValueOf(value=false)))",
    R"(And(ValueOf(value=true), ValueOf(value=true)))",
    R"(Or(ValueOf(value=false), ValueOf(value=true)))",
    R"(Compare(type=version, relation=ge, ValueOf(value=1.10), ValueOf(value=1.9)))",
    R"(BitwiseAnd(ValueOf(value=420), ValueOf(value=18)))",
    R"(BitwiseInclusiveOr(ValueOf(value=420), ValueOf(value=18)))",
    R"(BitwiseExclusiveOr(ValueOf(value=420), ValueOf(value=18)))",
    R"(Switch(default=none, ValueOf(value=false), ValueOf(value=A), ValueOf(value=true), ValueOf(value=B)))",
    R"(Concat(separator=",", ValueOf(value=a), ValueOf(value=b), ValueOf(value=c)))",
    R"(Md5(ValueOf(value="Hello from "), ValueOf(value=CorePlugin)))",
    R"(Vector(filter="*.log", ValueOf(value=a.log), ValueOf(value=b.txt), ValueOf(value=c.log)))",
    R"(Sort(filter="*", order=desc, ValueOf(value=b), ValueOf(value=a), ValueOf(value=c)))",
    R"(VectorAt(index=2, Vector(filter="*", ValueOf(value=a), ValueOf(value=b))))",
    R"(VectorIterator(Vector(filter="*", ValueOf(value=a), ValueOf(value=b))))",
    R"(VectorToScalar(ValueOf(value=a), ValueOf(value="b;c")))",
    R"(ScalarToVector(ValueOf(value="a;b\\;c;")))",
    R"(FileExists(absolutePath=/etc/passwd))",
    R"(PathExists(absolutePath=/etc))",
    R"(FileDirectory(file=/usr/lib/os-release))",
    R"(FileInfo(absolutePath=/etc/passwd, field=size))",
    R"(FileInfoCompare(absolutePath=/etc/passwd, field=size, relation=gt, value=0))",
    R"(IniFileKeyExists(file=/etc/os-release, section="", key=VERSION_ID))",
    R"(IniFileKeyValue(file=/etc/os-release, section="", key=PRETTY_NAME))",
    R"(MountPath(absolutePath=/etc/passwd))",
    R"(MountRemotePath(absolutePath=/etc/passwd))",
    R"(MountServer(absolutePath=/etc/passwd))",
};
static_assert(std::size(kRules) == 33);

void tree(benchmark::State& state, const char* rule) {
    bench::evaluateRule(state, rule);
}

const char* ruleOf(const std::string& name) {
    for (const char* rule : kRules) {
        if (std::string_view(rule).starts_with(name + "(")) {
            return rule;
        }
    }
    std::fprintf(stderr, "no tree for %s\n", name.c_str());
    std::abort();
}

const bool kRegistered = [] {
    for (const CorePlugin::ExpressionDescriptor& row : CorePlugin::expressionTable()) {
        std::string name;
        platform::toUtf8(row.name, name);
        benchmark::RegisterBenchmark(("BM_Tree/" + name).c_str(), tree, ruleOf(name));
    }
    return true;
}();

}  // namespace
