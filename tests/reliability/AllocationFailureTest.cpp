// Every allocation of an evaluation made to fail in turn: the host reports the rule as failed for
// want of memory (or, where only a trace record was lost, still gives the right answer), gives
// back every block, and evaluates the next rule, and the same tree again, as if nothing happened.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "CatalogRunner.h"
#include "ExpressionTree.h"
#include "FailingAllocator.h"
#include "PluginModule.h"
#include "PluginSet.h"
#include "Report.h"
#include "platform/TestSupport.h"
#include "tracing/Tracer.h"
#include "utils/Wildcard.h"

namespace {

namespace fs = std::filesystem;
using namespace corehost;

// One tree or more per expression; the probes look at files made for the test.
constexpr char kTrees[] = R"(
not = Not(ValueOf(value=false))
and = And(ValueOf(value=true), Not(ValueOf(value=false)))
or = Or(ValueOf(value=false), ValueOf(value=true))
file_info = FileInfo(absolutePath="@/plain.txt", field=size)
file_info_compare = FileInfoCompare(absolutePath="@/plain.txt", field=mtime, relation=gt, value=0,
    mustExist=true)
file_exists = FileExists(absolutePath="@/plain.txt")
file_directory = FileDirectory(file="@/plain.txt")
path_exists = PathExists(absolutePath="@")
value_of = ValueOf(value="caf\u{E9} \u{1F600}")
compare = And(Compare(type=version, relation=ge, ValueOf(value=1.10), ValueOf(value=1.9)),
    Compare(type=integer, relation=lt, ValueOf(value=-5), ValueOf(value=3)),
    Compare(type=uinteger, relation=gt, ValueOf(value=-1), ValueOf(value=3)),
    Compare(type=hex, relation=eq, ValueOf(value=0xFF), ValueOf(value=ff)),
    Compare(type=string, relation=ne, ValueOf(value=a), ValueOf(value=A)),
    Compare(type=cistring, relation=eq, ValueOf(value=a), ValueOf(value=A)),
    Compare(type=boolean, relation=le, ValueOf(value=false), ValueOf(value=true)))
vector = Vector(filter="a*", ignoreCase=true, ValueOf(value=Ab),
    Substring(inputString="a1\nb2\nA3", searchedString=""))
sort = Sort(filter="*", order=desc, Substring(inputString="b\na\nc", searchedString=""),
    ValueOf(value=d))
match = Match(inputString=Kern.LOG, filter="*.log", ignoreCase=true)
concat = Concat(separator=", ", ifEmpty=add, ValueOf(value=a), ValueOf(value=""), ValueOf(value=b))
switch = Switch(default=none, ValueOf(value=false), ValueOf(value=x),
    FileInfo(absolutePath="@/missing", field=size), ValueOf(value=y), ValueOf(value=true),
    ValueOf(value=z))
bitwise = BitwiseExclusiveOr(BitwiseAnd(ValueOf(value=12), ValueOf(value=10)),
    BitwiseInclusiveOr(ValueOf(value=1), ValueOf(value=4)))
vectors = ScalarToVector(VectorToScalar(ValueOf(value="a;b"), VectorIterator(ValueOf(value=x),
    Vector(filter="*", ValueOf(value="c\\d"), ValueOf(value="")))))
vector_at = VectorAt(index=3, ValueOf(value=a), Substring(inputString="b\nc\nd", searchedString=""))
md5 = Md5(ValueOf(value="Hello "), ValueOf(value="world"))
substring = Substring(inputString="alpha\nbeta\nalphabet", searchedString=alpha)
contains = Contains(inputString="hello world", searchedString=world, position=end)
clip = Clip(inputString="2024-05-01", startIndex=5, endIndex=6)
string_slice = StringSlice(inputString="report.tar.gz", startIndex=-2, endIndex="")
string_crop = StringCrop(inputString="key=[a] x=[b]", startString="[", endString="]",
    seekFrom=right)
ini_file_key_exists = IniFileKeyExists(file="@/conf.ini", section=main, key=name)
ini_file_key_value = IniFileKeyValue(file="@/conf.ini", section=MAIN, key=Name)
mounts = Concat(MountPath(absolutePath="@"), MountRemotePath(absolutePath="@"),
    MountServer(absolutePath="@"))
failing = And(ValueOf(value=true), Clip(inputString=abc, startIndex=x, endIndex=1))
sentinel = Concat(separator=" ", ValueOf(value=still), ValueOf(value=evaluating))
)";

/// The plug-in loaded as corehost loads it, and the catalog of trees over a scratch directory.
class AllocationFailure : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() {
        s_Directory = std::make_unique<platform_test::TempDir>();
        std::ofstream(s_Directory->path() / "plain.txt") << "some text\n";
        std::ofstream(s_Directory->path() / "conf.ini") << "[main]\nname = \"CorePlugin\"\n";
        LoadError error;
        s_Module = PluginModule::load(COREHOST_REAL_PLUGIN, error);
        ASSERT_TRUE(s_Module) << error.message;
        s_Plugins = std::make_unique<PluginSet>();
        s_Plugins->add(s_Module->plugin(), "CorePlugin", COREHOST_REAL_PLUGIN);
        std::string text = kTrees;
        utils::replaceAllStrings(text, "@", s_Directory->path().string());
        s_Catalog = std::make_unique<Catalog>();
        Diagnostic diagnostic;
        ASSERT_TRUE(s_Catalog->add(text, "trees", diagnostic)) << diagnostic.format();
    }

    static void TearDownTestSuite() {
        s_Catalog.reset();
        s_Plugins.reset();
        s_Module.reset();
        s_Directory.reset();
    }

    // 0: plain output; 1: JSON with the explained tree; 2: plain output with tracing on.
    void SetUp() override {
        m_Options.json = m_Options.explain = GetParam() == 1;
        if (GetParam() == 2) {
            ASSERT_TRUE(Tracer::sendToFile("/dev/null"));
        }
    }
    void TearDown() override { Tracer::sendToNone(); }

    RuleOutput evaluate(std::size_t rule) const {
        return evaluateRule(*s_Plugins, *s_Catalog, rule, m_Options);
    }

    RunOptions m_Options;
    static inline std::unique_ptr<platform_test::TempDir> s_Directory;
    static inline std::unique_ptr<PluginModule> s_Module;
    static inline std::unique_ptr<PluginSet> s_Plugins;
    static inline std::unique_ptr<Catalog> s_Catalog;
};

TEST_P(AllocationFailure, EveryFailedAllocationFailsTheRuleAloneAndLeaksNothing) {
    const std::size_t sentinel = s_Catalog->size() - 1;
    const RuleOutput next = evaluate(sentinel);
    std::uint64_t points = 0;
    for (std::size_t rule = 0; rule < sentinel; ++rule) {
        const std::string& name = s_Catalog->ruleName(rule);
        const RuleOutput reference = evaluate(rule);
        ASSERT_EQ(reference.succeeded, name != "failing") << reference.err;
        for (std::uint64_t n = 1;; ++n) {
            const std::int64_t live = failing_allocator::live();
            {
                std::optional<RuleOutput> output;
                bool fired = false;
                {
                    failing_allocator::FailAt failAt(n);
                    output = evaluate(rule);
                    fired = failAt.fired();
                }
                if (!fired) {
                    EXPECT_EQ(output->out, reference.out) << name;
                    points += n - 1;
                    break;
                }
                if (output->out != reference.out || output->err != reference.err) {
                    EXPECT_FALSE(output->succeeded) << name << " " << n;
                    EXPECT_NE((output->out + output->err).find("-1"), std::string::npos);
                    EXPECT_NE((output->out + output->err).find("out of memory"), std::string::npos)
                        << name << " failing at allocation " << n << ": " << output->out
                        << output->err;
                }
            }
            ASSERT_EQ(failing_allocator::live(), live)
                << name << " leaked when allocation " << n << " failed";
            const RuleOutput after = evaluate(sentinel);
            ASSERT_EQ(after.out, next.out) << name << " " << n;
        }
    }
    std::cout << "allocation failures covered: " << points << "\n";
}

TEST_P(AllocationFailure, TreeEvaluatesAgainAfterAFailedAllocation) {
    std::uint64_t points = 0;
    for (std::size_t rule = 0; rule + 1 < s_Catalog->size(); ++rule) {
        const std::string& name = s_Catalog->ruleName(rule);
        RuleNode root;
        Diagnostic error;
        ASSERT_TRUE(s_Catalog->parse(rule, root, error));
        ExpressionTree tree(*s_Plugins);
        ASSERT_EQ(tree.instantiate(root), 0);
        const std::int32_t expectedStatus = tree.evaluate();
        const std::string expected = expectedStatus == 0 ? quotedResult(tree.root()) : "";
        const std::int64_t live = failing_allocator::live();
        for (std::uint64_t n = 1;; ++n) {
            std::int32_t status = 0;
            bool fired = false;
            {
                failing_allocator::FailAt failAt(n);
                status = tree.evaluate();
                fired = failAt.fired();
            }
            if (!fired) {
                points += n - 1;
                break;
            }
            EXPECT_TRUE(status == kOutOfMemory || status == expectedStatus) << name << " " << n;
            ASSERT_EQ(tree.evaluate(), expectedStatus) << name << " after allocation " << n;
            if (expectedStatus == 0) {
                ASSERT_EQ(quotedResult(tree.root()), expected) << name << " " << n;
            }
            ASSERT_EQ(failing_allocator::live(), live)
                << name << " leaked when allocation " << n << " failed";
        }
    }
    std::cout << "allocation failures covered in re-evaluations: " << points << "\n";
}

TEST_P(AllocationFailure, ACatalogOnSeveralThreadsFailsWholeOrFinishes) {
    m_Options.jobs = 4;
    std::ostringstream reference;
    runCatalog(*s_Plugins, *s_Catalog, m_Options, reference, reference);
    const std::string all = reference.str();
    const auto rules = std::count(all.begin(), all.end(), '\n');
    for (std::uint64_t n = 1; n <= 64; ++n) {
        std::ostringstream out;
        try {
            failing_allocator::FailAt failAt(n);
            runCatalog(*s_Plugins, *s_Catalog, m_Options, out, out);
        } catch (const std::bad_alloc&) {
            continue;  // the whole run failed, as corehost reports it
        }
        if (out.bad()) {
            continue;  // the test's stream could not grow: nothing of corehost's
        }
        const std::string lines = out.str();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), rules) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, AllocationFailure, ::testing::Values(0, 1, 2));

// A catalog checked in parts on several threads: a failed allocation fails the whole add, or the
// catalog holds every rule as one checked on one thread does.
TEST(CatalogInParts, FailsWholeOrHoldsEveryRule) {
    std::string text;
    for (int rule = 0; rule < 64; ++rule) {
        text += "r" + std::to_string(rule) + " = Not(ValueOf(value=true))\n";
    }
    for (std::uint64_t n = 1;; ++n) {
        Catalog catalog(4, 0);
        Diagnostic error;
        bool added = false;
        bool fired = false;
        try {
            failing_allocator::FailAt failAt(n);
            added = catalog.add(text, "parts.rules", error);
            fired = failAt.fired();
        } catch (const std::bad_alloc&) {
            continue;
        }
        ASSERT_TRUE(added) << n << ": " << error.format();
        ASSERT_EQ(catalog.size(), 64U) << n;
        EXPECT_EQ(catalog.ruleName(63), "r63") << n;
        EXPECT_FALSE(catalog.add("r5 = ValueOf(value=1)\n", "more.rules", error)) << n;
        if (!fired) {
            break;
        }
    }
}

}  // namespace
