#include "CorePlugin.h"

#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "ExpressionTable.h"
#include "PluginSDK/Configuration.h"
#include "PluginSDK/ResultCodes.h"
#include "PluginSDK/ScalarOperator.h"
#include "PluginSDK/VectorOperator.h"
#include "cross/Sort.h"
#include "harness/Harness.h"

namespace {

using namespace CorePlugin;

// The registration order hosts rely on, kept apart from the table so that a reordering shows.
std::vector<std::wstring> registeredNames() {
    std::wistringstream words(
        L"Not And Or FileInfo FileInfoCompare FileExists FileDirectory PathExists ValueOf "
        L"Compare Vector Sort Match Concat Switch BitwiseAnd BitwiseInclusiveOr "
        L"BitwiseExclusiveOr ScalarToVector VectorToScalar VectorIterator VectorAt Md5 "
        L"Substring Contains Clip StringSlice StringCrop IniFileKeyExists IniFileKeyValue "
        L"MountServer MountPath MountRemotePath");
    return {std::istream_iterator<std::wstring, wchar_t>(words), {}};
}

std::string className(const PluginSDK::Expression& expression) {
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(expression).name(), nullptr, nullptr, &status);
    const std::string text = name != nullptr ? name : "?";
    std::free(name);
    return text;
}

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
    EXPECT_EQ(std::vector<int>({version.majorNumber, version.minorNumber, version.releaseNumber,
                                version.buildNumber}),
              std::vector<int>({1, 1, 1, 1}));
    EXPECT_EQ(plugin.getUnknownSoftware(), nullptr);
}

TEST_F(CorePluginTest, RegistersTheTableInOrderAndBuildsEachRowsClassOfItsKind) {
    EXPECT_TRUE(plugin.getExpressionNames().empty());
    plugin.initializePlugin();
    std::vector<std::wstring> names;
    for (const ExpressionDescriptor& row : expressionTable()) {
        const std::wstring& name = names.emplace_back(row.name);
        PluginSDK::Expression* expression = nullptr;
        ASSERT_EQ(plugin.createExpression(row.name, &expression), PluginSDK::RC_SUCCESS);
        EXPECT_EQ(className(*expression), "CorePlugin::" + std::string(name.begin(), name.end()));
        EXPECT_EQ(expression->getType(), row.kind.type);
        EXPECT_EQ(expression->isOperator(), row.kind.isOperator);
        // Operands are always ready, operators not before their children come; an operator that
        // stops at a failed child refuses to be told of one.
        EXPECT_EQ(expression->isReady(), !row.kind.isOperator) << row.name;
        auto* scalar = dynamic_cast<PluginSDK::ScalarOperator*>(expression);
        auto* vector = dynamic_cast<PluginSDK::VectorOperator*>(expression);
        if (scalar != nullptr && !scalar->continueOnError()) {
            EXPECT_EQ(scalar->updateWithError(-11009), PluginSDK::RC_NOT_SUPPORTED) << row.name;
        }
        if (vector != nullptr && !vector->continueOnError()) {
            EXPECT_EQ(vector->updateWithError(-11009), PluginSDK::RC_NOT_SUPPORTED) << row.name;
        }
        EXPECT_EQ(plugin.destroyExpression(expression), PluginSDK::RC_SUCCESS);
    }
    EXPECT_EQ(plugin.getExpressionNames(), names);
    EXPECT_EQ(names, registeredNames());
}

TEST_F(CorePluginTest, RefusesUnknownNamesAndNullArgumentsWithoutWritingWhereItShouldNot) {
    for (const wchar_t* name : {L"not", L"", L"ValueOf ", L"Value"}) {
        PluginSDK::Expression* expression = reinterpret_cast<PluginSDK::Expression*>(0x1);
        EXPECT_EQ(plugin.createExpression(name, &expression), PluginSDK::RC_UNKNOWN_EXPRESSION);
        EXPECT_EQ(expression, nullptr);
    }
    auto* const sentinel = reinterpret_cast<PluginSDK::Expression*>(0x1);
    PluginSDK::Expression* expression = sentinel;
    EXPECT_EQ(plugin.createExpression(nullptr, &expression), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(expression, sentinel);
    EXPECT_EQ(plugin.createExpression(L"And", nullptr), PluginSDK::RC_INVALID_ARGUMENT);
    EXPECT_EQ(plugin.destroyExpression(nullptr), PluginSDK::RC_SUCCESS);
}

TEST_F(CorePluginTest, AFreshSortHoldsOnlyWhatItsBaseConstructorSets) {
    PluginSDK::Expression* expression = nullptr;
    ASSERT_EQ(plugin.createExpression(L"Sort", &expression), PluginSDK::RC_SUCCESS);
    const auto& sort = dynamic_cast<const Sort&>(*expression);
    EXPECT_FALSE(sort.isInitialized() || sort.ignoresCase());
    EXPECT_EQ(sort.filter(), L"");
    EXPECT_EQ(sort.values().m_Count, 0);
    plugin.destroyExpression(expression);
}

TEST_F(CorePluginTest, MountExpressionsCreatedBeforeTheTableIsReadSeeItOnceItIs) {
    std::vector<PluginSDK::Expression*> mounts;
    for (const wchar_t* name : {L"MountPath", L"MountRemotePath"}) {
        ASSERT_EQ(plugin.createExpression(name, &mounts.emplace_back()), PluginSDK::RC_SUCCESS);
        mounts.back()->setProperty(L"absolutePath", L"/");
        EXPECT_EQ(harness::result(*mounts.back()).code, PluginSDK::RC_MOUNT_TABLE_UNAVAILABLE);
    }
    plugin.initializePlugin();
    for (PluginSDK::Expression* mount : mounts) {
        EXPECT_EQ(harness::result(*mount).result, L"/");
        plugin.destroyExpression(mount);
    }
}

TEST_F(CorePluginTest, KeepsTheAcceptedRegistrySectionsAndSkipsAnyOtherPropertyWithAWarning) {
    for (const wchar_t* value : {L"32", L"64", L"32or64", L"64or32"}) {
        harness::TraceCapture trace;
        plugin.setProperty(L"defaultWindowsRegistrySection", value);
        EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), value);
        EXPECT_TRUE(trace.messages.empty());
    }
    // Cleaning up drops what was kept.
    EXPECT_EQ(plugin.cleanupPlugin(), PluginSDK::RC_SUCCESS);
    EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), L"<none>");

    const struct {
        const wchar_t* name;
        const wchar_t* value;
        std::string shown;  // as the warning names them
    } cases[] = {
        {L"defaultWindowsRegistrySection", L"64 ",
         "name=[defaultWindowsRegistrySection] value=[64 ]"},
        {L"defaultwindowsregistrysection", L"32",
         "name=[defaultwindowsregistrysection] value=[32]"},
        {L"na\u00efve", L"\u20ac", "name=[na\xc3\xafve] value=[\xe2\x82\xac]"},
        {nullptr, L"32", "name=[] value=[32]"},
        {L"defaultWindowsRegistrySection", nullptr,
         "name=[defaultWindowsRegistrySection] value=[]"},
    };
    const std::string function = "CorePlugin::setProperty(const wchar_t *, const wchar_t *)";
    for (const auto& c : cases) {
        harness::TraceCapture trace;
        plugin.setProperty(c.name, c.value);
        EXPECT_EQ(trace.messages,
                  (std::vector<harness::TraceMessage>{
                      {function, 2, "./../../../src/plugins/CorePlugin/CorePlugin.cpp", 201,
                       "Unexpected plugin property, skipping. plugin=[CorePlugin] " + c.shown}}));
        EXPECT_EQ(trace.opened, std::vector<std::string>{function});
        EXPECT_EQ(trace.closed, std::vector<std::string>{function});
        EXPECT_EQ(configured(L"defaultWindowsRegistrySection"), L"<none>");
    }
}

// Each code is listed once, so that the host names every failure by its own meaning.
TEST_F(CorePluginTest, EveryResultCodeHasOneMeaning) {
    for (const PluginSDK::ResultCodeMeaning& entry : PluginSDK::kResultCodeMeanings) {
        EXPECT_LE(entry.code, 0);
        ASSERT_NE(entry.meaning, nullptr);
        EXPECT_STRNE(entry.meaning, "");
        EXPECT_EQ(PluginSDK::resultCodeMeaning(entry.code), entry.meaning);
    }
    EXPECT_EQ(PluginSDK::resultCodeMeaning(-1), nullptr);
}
