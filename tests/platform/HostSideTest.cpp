#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "PluginSDK/Configuration.h"
#include "PluginSDK/Expression.h"
#include "platform/TestSupport.h"

namespace {

using PluginSDK::Configuration;
using PluginSDK::String;

class Node : public PluginSDK::Expression {
public:
    bool isOperator() override { return false; }
    std::int32_t getType() override { return TYPE_SCALAR; }
    bool isReady() override { return true; }
    void disposeExpression() override {}
};

// Lookups agree with a map of the same properties while they come and go. The names are every
// text of up to three letters from {a, A}, the empty one included, so that prefixes of one
// another and names differing in case meet, and a node holds from none to all fifteen of them;
// names of four letters are looked up too, and never stored. A null value stores the empty text.
TEST(Expression, LookupsAgreeWithAMapAsPropertiesComeAndGo) {
    std::vector<std::wstring> names{L""};
    for (std::size_t i = 0; names[i].size() < 4; ++i) {
        names.push_back(names[i] + L'a');
        names.push_back(names[i] + L'A');
    }
    std::mt19937 random(11);
    Node node;
    std::map<std::wstring, std::wstring> model;
    for (int step = 0; step < 3000; ++step) {
        const std::wstring& name = names[random() % 15];
        if (random() % 3 == 0) {
            node.removeProperty(name.c_str());
            model.erase(name);
        } else {
            const std::wstring value = step % 4 ? std::to_wstring(step) : L"";
            node.setProperty(name.c_str(), step % 4 ? value.c_str() : nullptr);
            model[name] = value;
        }
        for (const std::wstring& looked : names) {
            const wchar_t* found = node.getProperty(looked.c_str());
            const auto expected = model.find(looked);
            ASSERT_EQ(found == nullptr ? L"<absent>" : found,
                      expected == model.end() ? L"<absent>" : expected->second)
                << "step " << step;
        }
    }
}

// Null names are ignored; a text the host keeps stays valid while other properties come and go.
TEST(Expression, NullNamesAreIgnoredAndKeptTextsStayPut) {
    Node node;
    node.setProperty(L"value", L"10");
    node.setProperty(nullptr, L"ignored");
    node.removeProperty(nullptr);
    EXPECT_EQ(node.getProperty(nullptr), nullptr);
    const wchar_t* value = node.getProperty(L"value");
    for (int i = 0; i < 200; ++i) {
        node.setProperty(std::to_wstring(i).c_str(), L"x");
        node.removeProperty(std::to_wstring(i / 2).c_str());
    }
    EXPECT_STREQ(value, L"10");
}

TEST(Configuration, SectionsAreMadeOnDemandAndDropped) {
    Configuration* section = nullptr;
    Configuration* again = nullptr;
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    ASSERT_EQ(Configuration::get(L"TestSection", again), 0);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section, again);

    section->setProperty(String(L"b"), String(L"1"));
    section->setProperty(String(L"a"), String(L"2"));
    section->setProperty(String(L"b"), String(L"3"));
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(section->getProperties(), (Pairs{{L"a", L"2"}, {L"b", L"3"}}));
    String value;
    EXPECT_TRUE(section->getProperty(String(L"b"), value));
    EXPECT_EQ(value, L"3");
    EXPECT_FALSE(section->getProperty(String(L"c"), value));

    // Section names are case-sensitive; dropping a section that is not there succeeds.
    Configuration* other = nullptr;
    ASSERT_EQ(Configuration::get(L"testsection", other), 0);
    EXPECT_TRUE(other->getProperties().empty());
    EXPECT_EQ(Configuration::cleanup(L"testsection"), 0);
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    EXPECT_TRUE(section->getProperties().empty());
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);

    EXPECT_EQ(Configuration::get(nullptr, section), -101);
    EXPECT_EQ(section, nullptr);
    EXPECT_EQ(Configuration::cleanup(nullptr), -101);
}

TEST(Configuration, IsSharedAcrossThreads) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i) {
                Configuration* section = nullptr;
                Configuration::get(L"Shared", section);
                const std::wstring name = std::to_wstring(t) + L"." + std::to_wstring(i);
                section->setProperty(String(name.c_str()), String(L"v"));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    Configuration* section = nullptr;
    ASSERT_EQ(Configuration::get(L"Shared", section), 0);
    EXPECT_EQ(section->getProperties().size(), 400u);
    Configuration::cleanup(L"Shared");
}

}  // namespace
