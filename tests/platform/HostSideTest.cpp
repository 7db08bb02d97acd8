#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
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

// Sections are made on demand, one per case-sensitive name, and dropped with their properties.
TEST(Configuration, SectionsAreMadeOnDemandAndDropped) {
    Configuration *section = nullptr, *again = nullptr, *other = nullptr;
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    ASSERT_EQ(Configuration::get(L"TestSection", again), 0);
    ASSERT_EQ(Configuration::get(L"testsection", other), 0);
    EXPECT_EQ(section, again);
    EXPECT_NE(section, other);
    section->setProperty(String(L"b"), String(L"1"));
    section->setProperty(String(L"a"), String(L"2"));
    section->setProperty(String(L"b"), String(L"3"));
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(section->getProperties(), (Pairs{{L"a", L"2"}, {L"b", L"3"}}));
    String value;
    EXPECT_TRUE(section->getProperty(String(L"b"), value) && value == L"3");
    EXPECT_FALSE(section->getProperty(String(L"c"), value));
    EXPECT_TRUE(other->getProperties().empty());
    // Dropping a section that is not there succeeds too.
    for (const wchar_t* name : {L"testsection", L"TestSection", L"TestSection"}) {
        EXPECT_EQ(Configuration::cleanup(name), 0);
    }
    ASSERT_EQ(Configuration::get(L"TestSection", section), 0);
    EXPECT_TRUE(section->getProperties().empty());
    EXPECT_EQ(Configuration::cleanup(L"TestSection"), 0);
    EXPECT_EQ(Configuration::get(nullptr, section), -101);
    EXPECT_EQ(section, nullptr);
    EXPECT_EQ(Configuration::cleanup(nullptr), -101);
}

}  // namespace
