#include "CorePlugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "PluginSDK/Configuration.h"
#include "PluginSDK/ResultCodes.h"
#include "cross/And.h"
#include "cross/BitwiseAnd.h"
#include "cross/BitwiseExclusiveOr.h"
#include "cross/BitwiseInclusiveOr.h"
#include "cross/Clip.h"
#include "cross/Compare.h"
#include "cross/Concat.h"
#include "cross/Contains.h"
#include "cross/FileDirectory.h"
#include "cross/FileExists.h"
#include "cross/FileInfo.h"
#include "cross/FileInfoCompare.h"
#include "cross/IniFileKeyExists.h"
#include "cross/IniFileKeyValue.h"
#include "cross/Match.h"
#include "cross/Md5.h"
#include "cross/MountPath.h"
#include "cross/MountRemotePath.h"
#include "cross/MountServer.h"
#include "cross/Not.h"
#include "cross/Or.h"
#include "cross/PathExists.h"
#include "cross/ScalarToVector.h"
#include "cross/Sort.h"
#include "cross/StringCrop.h"
#include "cross/StringSlice.h"
#include "cross/Substring.h"
#include "cross/Switch.h"
#include "cross/ValueOf.h"
#include "cross/Vector.h"
#include "cross/VectorAt.h"
#include "cross/VectorIterator.h"
#include "cross/VectorToScalar.h"
#include "harness/Harness.h"

namespace {

// The registration order hosts rely on.
const std::vector<std::wstring> kRegisteredNames = {
    L"Not",
    L"And",
    L"Or",
    L"FileInfo",
    L"FileInfoCompare",
    L"FileExists",
    L"FileDirectory",
    L"PathExists",
    L"ValueOf",
    L"Compare",
    L"Vector",
    L"Sort",
    L"Match",
    L"Concat",
    L"Switch",
    L"BitwiseAnd",
    L"BitwiseInclusiveOr",
    L"BitwiseExclusiveOr",
    L"ScalarToVector",
    L"VectorToScalar",
    L"VectorIterator",
    L"VectorAt",
    L"Md5",
    L"Substring",
    L"Contains",
    L"Clip",
    L"StringSlice",
    L"StringCrop",
    L"IniFileKeyExists",
    L"IniFileKeyValue",
    L"MountServer",
    L"MountPath",
    L"MountRemotePath",
};

// The names whose classes are built, with the class each must produce. Every other registered
// name still answers like an unknown one.
const std::vector<std::pair<std::wstring, const std::type_info*>> kBuiltClasses = {
    {L"ValueOf", &typeid(CorePlugin::ValueOf)},
    {L"Not", &typeid(CorePlugin::Not)},
    {L"And", &typeid(CorePlugin::And)},
    {L"Or", &typeid(CorePlugin::Or)},
    {L"Compare", &typeid(CorePlugin::Compare)},
    {L"Concat", &typeid(CorePlugin::Concat)},
    {L"Switch", &typeid(CorePlugin::Switch)},
    {L"BitwiseAnd", &typeid(CorePlugin::BitwiseAnd)},
    {L"BitwiseInclusiveOr", &typeid(CorePlugin::BitwiseInclusiveOr)},
    {L"BitwiseExclusiveOr", &typeid(CorePlugin::BitwiseExclusiveOr)},
    {L"Md5", &typeid(CorePlugin::Md5)},
    {L"Clip", &typeid(CorePlugin::Clip)},
    {L"Contains", &typeid(CorePlugin::Contains)},
    {L"Match", &typeid(CorePlugin::Match)},
    {L"StringCrop", &typeid(CorePlugin::StringCrop)},
    {L"StringSlice", &typeid(CorePlugin::StringSlice)},
    {L"Substring", &typeid(CorePlugin::Substring)},
    {L"Vector", &typeid(CorePlugin::Vector)},
    {L"Sort", &typeid(CorePlugin::Sort)},
    {L"VectorAt", &typeid(CorePlugin::VectorAt)},
    {L"VectorIterator", &typeid(CorePlugin::VectorIterator)},
    {L"VectorToScalar", &typeid(CorePlugin::VectorToScalar)},
    {L"ScalarToVector", &typeid(CorePlugin::ScalarToVector)},
    {L"FileInfo", &typeid(CorePlugin::FileInfo)},
    {L"FileInfoCompare", &typeid(CorePlugin::FileInfoCompare)},
    {L"FileExists", &typeid(CorePlugin::FileExists)},
    {L"FileDirectory", &typeid(CorePlugin::FileDirectory)},
    {L"PathExists", &typeid(CorePlugin::PathExists)},
    {L"IniFileKeyExists", &typeid(CorePlugin::IniFileKeyExists)},
    {L"IniFileKeyValue", &typeid(CorePlugin::IniFileKeyValue)},
    {L"MountServer", &typeid(CorePlugin::MountServer)},
    {L"MountPath", &typeid(CorePlugin::MountPath)},
    {L"MountRemotePath", &typeid(CorePlugin::MountRemotePath)},
};

std::wstring configured(const wchar_t* name) {
    PluginSDK::Configuration* configuration = nullptr;
    PluginSDK::Configuration::get(L"CorePlugin", configuration);
    PluginSDK::String value(L"<none>");
    configuration->getProperty(PluginSDK::String(name), value);
    return static_cast<const wchar_t*>(value);
}

class CorePluginTest : public ::testing::Test {
protected:
    void TearDown() override { plugin.cleanupPlugin(); }
    PluginSDK::CorePlugin plugin;
};

}  // namespace

TEST_F(CorePluginTest, AnswersItsNameVersionAndUnknownSoftware) {
    EXPECT_STREQ(plugin.getName(), L"CorePlugin");
    const PluginSDK::PluginVersion version = plugin.getVersion();
    EXPECT_EQ(version.majorNumber, 1);
    EXPECT_EQ(version.minorNumber, 1);
    EXPECT_EQ(version.releaseNumber, 1);
    EXPECT_EQ(version.buildNumber, 1);
    static_assert(sizeof(PluginSDK::PluginVersion) == 16);
    EXPECT_EQ(plugin.getUnknownSoftware(), nullptr);
}

TEST_F(CorePluginTest, RegistersNothingBeforeInitialisationAndAllNamesInOrderAfter) {
    EXPECT_TRUE(plugin.getExpressionNames().empty());
    plugin.initializePlugin();
    EXPECT_EQ(plugin.getExpressionNames(), kRegisteredNames);
}

TEST_F(CorePluginTest, BuildsTheClassOfEachBuiltName) {
    for (const auto& [name, type] : kBuiltClasses) {
        PluginSDK::Expression* expression = nullptr;
        ASSERT_EQ(plugin.createExpression(name.c_str(), &expression), PluginSDK::RC_SUCCESS);
        ASSERT_NE(expression, nullptr);
        EXPECT_EQ(typeid(*expression), *type) << std::string(name.begin(), name.end());
        EXPECT_EQ(plugin.destroyExpression(expression), PluginSDK::RC_SUCCESS);
    }
}

TEST_F(CorePluginTest, UnknownAndUnbuiltNamesStoreNull) {
    std::vector<std::wstring> refused = {L"not", L"", L"CompareOperand", L"ValueOf ", L"Value"};
    for (const std::wstring& name : kRegisteredNames) {
        bool built = false;
        for (const auto& row : kBuiltClasses) {
            built = built || row.first == name;
        }
        if (!built) {
            refused.push_back(name);
        }
    }
    for (const std::wstring& name : refused) {
        PluginSDK::Expression* expression = reinterpret_cast<PluginSDK::Expression*>(0x1);
        EXPECT_EQ(plugin.createExpression(name.c_str(), &expression),
                  PluginSDK::RC_UNKNOWN_EXPRESSION);
        EXPECT_EQ(expression, nullptr);
    }
}

TEST_F(CorePluginTest, AFreshSortHoldsOnlyWhatItsBaseConstructorSets) {
    PluginSDK::Expression* expression = nullptr;
    ASSERT_EQ(plugin.createExpression(L"Sort", &expression), PluginSDK::RC_SUCCESS);
    const auto* sort = dynamic_cast<const CorePlugin::Sort*>(expression);
    ASSERT_NE(sort, nullptr);
    EXPECT_FALSE(sort->isInitialized());
    EXPECT_FALSE(sort->ignoresCase());
    EXPECT_EQ(sort->filter(), L"");
    EXPECT_EQ(sort->values().m_Count, 0);
    plugin.destroyExpression(expression);
}

TEST_F(CorePluginTest, MountExpressionsShareThePluginsTable) {
    PluginSDK::Expression* path = nullptr;
    PluginSDK::Expression* server = nullptr;
    PluginSDK::Expression* remotePath = nullptr;
    ASSERT_EQ(plugin.createExpression(L"MountPath", &path), PluginSDK::RC_SUCCESS);
    ASSERT_EQ(plugin.createExpression(L"MountServer", &server), PluginSDK::RC_SUCCESS);
    ASSERT_EQ(plugin.createExpression(L"MountRemotePath", &remotePath), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(dynamic_cast<CorePlugin::MountPath&>(*path).getMountList(), plugin.getMountList());
    EXPECT_EQ(dynamic_cast<CorePlugin::MountServer&>(*server).getMountList(),
              plugin.getMountList());
    EXPECT_EQ(dynamic_cast<CorePlugin::MountRemotePath&>(*remotePath).getMountList(),
              plugin.getMountList());
    // Created before the table is read, they see it once the plug-in is initialised.
    path->setProperty(L"absolutePath", L"/");
    remotePath->setProperty(L"absolutePath", L"/");
    EXPECT_EQ(harness::result(*path).code, PluginSDK::RC_MOUNT_TABLE_UNAVAILABLE);
    plugin.initializePlugin();
    const harness::Outcome root = harness::result(*path);
    EXPECT_EQ(root.code, PluginSDK::RC_SUCCESS);
    EXPECT_EQ(root.result, L"/");
    EXPECT_EQ(harness::result(*remotePath).result, L"/");
    plugin.destroyExpression(path);
    plugin.destroyExpression(server);
    plugin.destroyExpression(remotePath);
}

TEST_F(CorePluginTest, NullArgumentsAreRefusedWithoutWriting) {
    auto* const sentinel = reinterpret_cast<PluginSDK::Expression*>(0x1);
    PluginSDK::Expression* expression = sentinel;
    EXPECT_EQ(plugin.createExpression(nullptr, &expression), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(expression, sentinel);
    EXPECT_EQ(plugin.createExpression(L"And", nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(plugin.destroyExpression(nullptr), PluginSDK::RC_SUCCESS);
}

TEST_F(CorePluginTest, StoresEachAcceptedRegistrySection) {
    for (const wchar_t* value : {L"32", L"64", L"32or64", L"64or32"}) {
        harness::TraceCapture trace;
        plugin.setProperty(L"defaultWindowsRegistrySection", value);
        EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), value);
        EXPECT_TRUE(trace.messages.empty());
    }
}

TEST_F(CorePluginTest, SkipsAnyOtherPropertyWithOneWarning) {
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        std::string text;
    };
    const Case cases[] = {
        {L"defaultWindowsRegistrySection", L"128",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[128]"},
        {L"defaultwindowsregistrysection", L"32",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultwindowsregistrysection] value=[32]"},
        {L"other", L"32",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[other] value=[32]"},
        {L"defaultWindowsRegistrySection", L"64 ",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[64 ]"},
        {L"na\u00efve", L"\u20ac",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[na\xc3\xafve] "
         "value=[\xe2\x82\xac]"},
        {nullptr, L"32",
         "Unexpected plugin property, skipping. plugin=[CorePlugin] name=[] value=[32]"},
        {L"defaultWindowsRegistrySection", nullptr,
         "Unexpected plugin property, skipping. plugin=[CorePlugin] "
         "name=[defaultWindowsRegistrySection] value=[]"},
    };
    const std::string function = "CorePlugin::setProperty(const wchar_t *, const wchar_t *)";
    for (const Case& c : cases) {
        plugin.cleanupPlugin();
        harness::TraceCapture trace;
        plugin.setProperty(c.name, c.value);
        const std::vector<harness::TraceMessage> expected = {
            {function, 2, "./../../../src/plugins/CorePlugin/CorePlugin.cpp", 201, c.text}};
        EXPECT_EQ(trace.messages, expected);
        EXPECT_EQ(trace.opened, std::vector<std::string>{function});
        EXPECT_EQ(trace.closed, std::vector<std::string>{function});
        EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), L"<none>");
    }
}

TEST_F(CorePluginTest, CleanupDropsTheConfigurationSection) {
    plugin.setProperty(L"defaultWindowsRegistrySection", L"64or32");
    EXPECT_EQ(plugin.cleanupPlugin(), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), L"<none>");
}

TEST_F(CorePluginTest, ExpressionsKeepWorkingAcrossCreationAndDestruction) {
    // Many objects alive at once, destroyed out of order: nothing is shared between them.
    std::vector<PluginSDK::Expression*> expressions(50);
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        ASSERT_EQ(plugin.createExpression(L"ValueOf", &expressions[i]), PluginSDK::RC_SUCCESS);
        const std::wstring value = std::to_wstring(i);
        expressions[i]->setProperty(L"value", value.c_str());
    }
    for (std::size_t i = 0; i < expressions.size(); i += 2) {
        plugin.destroyExpression(expressions[i]);
    }
    for (std::size_t i = 1; i < expressions.size(); i += 2) {
        EXPECT_EQ(harness::result(*expressions[i]).result, std::to_wstring(i));
        plugin.destroyExpression(expressions[i]);
    }
}
