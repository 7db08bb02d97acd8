#include "PluginSet.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ExpressionTree.h"
#include "FakeExpressions.h"
#include "RuleParser.h"

namespace corehost {
namespace {

using Names = std::vector<std::wstring>;

/// Plug-ins registering names, loaded in order, and what the set must make of them: every name
/// with the index of the plug-in that builds it, and the repetitions it reports.
struct Case {
    const char* what;
    std::vector<Names> plugins;
    std::vector<std::pair<std::wstring, std::size_t>> suppliers;
    std::vector<std::tuple<std::wstring, std::size_t, std::size_t>> duplicates;
};

TEST(PluginSetTest, ANameResolvesToTheFirstPluginThatRegisteredIt) {
    const Case cases[] = {
        {"one plug-in", {{L"A", L"B"}}, {{L"A", 0}, {L"B", 0}}, {}},
        {"no overlap", {{L"A"}, {L"B"}}, {{L"A", 0}, {L"B", 1}}, {}},
        {"overlap",
         {{L"A", L"B"}, {L"B", L"C"}},
         {{L"A", 0}, {L"B", 0}, {L"C", 1}},
         {{L"B", 0, 1}}},
        {"later order",
         {{L"B", L"C"}, {L"A", L"B"}},
         {{L"B", 0}, {L"C", 0}, {L"A", 1}},
         {{L"B", 0, 1}}},
        {"reported once", {{L"A"}, {L"A"}, {L"A", L"A"}}, {{L"A", 0}}, {{L"A", 0, 1}}},
        {"twice by one plug-in", {{L"A", L"B", L"A"}}, {{L"A", 0}, {L"B", 0}}, {{L"A", 0, 0}}},
        {"case matters", {{L"a"}, {L"A"}}, {{L"a", 0}, {L"A", 1}}, {}},
        {"nothing registered", {{}, {L"A"}}, {{L"A", 1}}, {}},
    };
    for (const Case& c : cases) {
        std::deque<fake::FakePlugin> plugins;
        PluginSet set;
        for (const Names& names : c.plugins) {
            const std::string name = "P" + std::to_string(plugins.size());
            plugins.emplace_back(std::wstring(name.begin(), name.end()), names);
            plugins.back().initializePlugin();
            set.add(plugins.back(), name, name + ".so");
        }
        std::vector<std::pair<std::wstring, std::size_t>> suppliers;
        for (const PluginSet::Supplier& supplier : set.suppliers()) {
            suppliers.emplace_back(supplier.name, supplier.member);
            EXPECT_EQ(set.find(supplier.name), &plugins[supplier.member]) << c.what;
        }
        EXPECT_EQ(suppliers, c.suppliers) << c.what;
        std::vector<std::tuple<std::wstring, std::size_t, std::size_t>> duplicates;
        for (const PluginSet::Duplicate& duplicate : set.duplicates()) {
            duplicates.emplace_back(duplicate.name, duplicate.first, duplicate.again);
        }
        EXPECT_EQ(duplicates, c.duplicates) << c.what;
        EXPECT_EQ(set.names().size(), c.suppliers.size()) << c.what;
        EXPECT_EQ(set.find(L"Z"), nullptr) << c.what;
    }
}

TEST(PluginSetTest, EachNodeIsBuiltAndDestroyedByThePluginThatSuppliesItsName) {
    fake::FakePlugin first(L"First", {L"Count", L"Text"});
    fake::FakePlugin second(L"Second", {L"Text", L"List", L"Collect"});
    first.initializePlugin();
    second.initializePlugin();
    PluginSet set;
    set.add(first, "First", "first.so");
    set.add(second, "Second", "second.so");
    RuleNode root;
    RuleParser parser("Collect(List(items=\"a,b\"), Count(Text(value=x), Text()))", "t");
    ASSERT_TRUE(parser.parseExpression(root)) << parser.error().format();
    {
        ExpressionTree tree(set);
        ASSERT_EQ(tree.instantiate(root), 0);
        EXPECT_EQ(first.liveCount(), 3u);
        EXPECT_EQ(second.liveCount(), 2u);
        ASSERT_EQ(tree.evaluate(), 0);
        EXPECT_EQ(fake::render(tree.root().vector), "[a,b,2]");
    }
    EXPECT_EQ(first.liveCount(), 0u);
    EXPECT_EQ(second.liveCount(), 0u);
    EXPECT_EQ(first.strays() + second.strays(), 0);

    RuleNode unknown;
    RuleParser other("Count(Text(), Nope())", "t");
    ASSERT_TRUE(other.parseExpression(unknown));
    ExpressionTree tree(set);
    EXPECT_EQ(tree.instantiate(unknown), PluginSDK::RC_UNKNOWN_EXPRESSION);
    EXPECT_EQ(tree.failure().node, 2u);
    EXPECT_EQ(tree.failure().detail, "no plug-in registered this name");
}

}  // namespace
}  // namespace corehost
