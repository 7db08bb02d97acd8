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

TEST(Expression, PropertiesAreStoredAndStayPut) {
    Node node;
    EXPECT_EQ(node.getProperty(L"value"), nullptr);
    node.setProperty(L"value", L"10");
    node.setProperty(L"empty", nullptr);
    node.setProperty(nullptr, L"ignored");
    const wchar_t* value = node.getProperty(L"value");
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, L"10");
    ASSERT_NE(node.getProperty(L"empty"), nullptr);
    EXPECT_STREQ(node.getProperty(L"empty"), L"");
    EXPECT_EQ(node.getProperty(nullptr), nullptr);
    EXPECT_EQ(node.getProperty(L"Value"), nullptr);

    // Other properties coming and going leave a kept text valid.
    for (int i = 0; i < 200; ++i) {
        node.setProperty(std::to_wstring(i).c_str(), std::wstring(i, L'x').c_str());
    }
    node.removeProperty(L"empty");
    node.removeProperty(L"absent");
    node.removeProperty(nullptr);
    EXPECT_STREQ(value, L"10");
    EXPECT_EQ(node.getProperty(L"empty"), nullptr);
}

// Lookups agree with a map of the same properties while they come and go. The names are every
// text of up to three letters from {a, b}, the empty one included, so prefixes of one another
// meet, and a node holds from none to all fifteen of them; names of four letters are looked up
// too, and never stored.
TEST(Expression, LookupsAgreeWithAMapAsPropertiesComeAndGo) {
    std::vector<std::wstring> names{L""};
    for (std::size_t i = 0; names[i].size() < 4; ++i) {
        names.push_back(names[i] + L'a');
        names.push_back(names[i] + L'b');
    }
    const std::size_t stored = 15;
    std::mt19937 random(11);
    Node node;
    std::map<std::wstring, std::wstring> model;
    for (int step = 0; step < 3000; ++step) {
        const std::wstring& name = names[random() % stored];
        if (random() % 3 == 0) {
            node.removeProperty(name.c_str());
            model.erase(name);
        } else {
            const std::wstring value = std::to_wstring(step);
            node.setProperty(name.c_str(), value.c_str());
            model[name] = value;
        }
        for (const std::wstring& looked : names) {
            const wchar_t* found = node.getProperty(looked.c_str());
            const auto expected = model.find(looked);
            if (expected == model.end()) {
                ASSERT_EQ(found, nullptr) << "step " << step;
            } else {
                ASSERT_NE(found, nullptr) << "step " << step;
                ASSERT_EQ(std::wstring(found), expected->second) << "step " << step;
            }
        }
    }
}

TEST(Configuration, SectionsAreMadeOnDemandAndDropped) {
    Configuration* section = nullptr;
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    ASSERT_NE(section, nullptr);
    Configuration* again = nullptr;
    ASSERT_EQ(Configuration::get(L"TestSection", again), 0);
    EXPECT_EQ(section, again);

    section->setProperty(String(L"b"), String(L"1"));
    section->setProperty(String(L"a"), String(L"2"));
    section->setProperty(String(L"b"), String(L"3"));
    String value;
    EXPECT_TRUE(section->getProperty(String(L"b"), value));
    EXPECT_EQ(value, L"3");
    EXPECT_FALSE(section->getProperty(String(L"c"), value));
    EXPECT_EQ(value, L"3");
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(section->getProperties(), (Pairs{{L"a", L"2"}, {L"b", L"3"}}));

    Configuration* other = nullptr;
    ASSERT_EQ(Configuration::get(L"testsection", other), 0);
    EXPECT_TRUE(other->getProperties().empty());

    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);
    EXPECT_EQ(Configuration::cleanup(L"testsection"), 0);
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    EXPECT_TRUE(section->getProperties().empty());
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);

    EXPECT_EQ(Configuration::get(nullptr, section), -101);
    EXPECT_EQ(section, nullptr);
    EXPECT_EQ(Configuration::cleanup(nullptr), -101);
}

TEST(Configuration, IsSharedAcrossThreads) {
    constexpr int kThreads = 4;
    constexpr int kPairs = 100;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kPairs; ++i) {
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
    EXPECT_EQ(section->getProperties().size(), static_cast<std::size_t>(kThreads * kPairs));
    Configuration::cleanup(L"Shared");
}

}  // namespace
