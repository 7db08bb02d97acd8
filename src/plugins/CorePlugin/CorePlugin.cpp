#include "CorePlugin.h"

#include <cwchar>
#include <iterator>

#include "CorePluginNames.h"
#include "PluginSDK/Configuration.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Assert.h"
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
#include "tracing/Trace.h"

namespace {

namespace Name = ::CorePlugin::ExpressionName;

constexpr wchar_t kPluginName[] = L"CorePlugin";
constexpr wchar_t kRegistrySectionProperty[] = L"defaultWindowsRegistrySection";
constexpr const wchar_t* kRegistrySectionValues[] = {L"32", L"64", L"32or64", L"64or32"};
constexpr char kSourceFile[] = "./../../../src/plugins/CorePlugin/CorePlugin.cpp";

using Maker = PluginSDK::Expression* (*)(mountlist* mounts);

template <class T>
PluginSDK::Expression* make(mountlist*) {
    // The parentheses value-initialise: a class without a constructor of its own starts with
    // every field zero.
    return new T();
}

template <class T>
PluginSDK::Expression* makeWithMounts(mountlist* mounts) {
    return new T(mounts);
}

struct ExpressionRow {
    const wchar_t* name;
    Maker make;  // null until the class is built: the name then answers like an unknown one
};

// Registration order and lookup order.
constexpr ExpressionRow kExpressionTable[] = {
    {Name::kNot, make<::CorePlugin::Not>},
    {Name::kAnd, make<::CorePlugin::And>},
    {Name::kOr, make<::CorePlugin::Or>},
    {Name::kFileInfo, make<::CorePlugin::FileInfo>},
    {Name::kFileInfoCompare, make<::CorePlugin::FileInfoCompare>},
    {Name::kFileExists, make<::CorePlugin::FileExists>},
    {Name::kFileDirectory, make<::CorePlugin::FileDirectory>},
    {Name::kPathExists, make<::CorePlugin::PathExists>},
    {Name::kValueOf, make<::CorePlugin::ValueOf>},
    {Name::kCompare, make<::CorePlugin::Compare>},
    {Name::kVector, make<::CorePlugin::Vector>},
    {Name::kSort, make<::CorePlugin::Sort>},
    {Name::kMatch, make<::CorePlugin::Match>},
    {Name::kConcat, make<::CorePlugin::Concat>},
    {Name::kSwitch, make<::CorePlugin::Switch>},
    {Name::kBitwiseAnd, make<::CorePlugin::BitwiseAnd>},
    {Name::kBitwiseInclusiveOr, make<::CorePlugin::BitwiseInclusiveOr>},
    {Name::kBitwiseExclusiveOr, make<::CorePlugin::BitwiseExclusiveOr>},
    {Name::kScalarToVector, make<::CorePlugin::ScalarToVector>},
    {Name::kVectorToScalar, make<::CorePlugin::VectorToScalar>},
    {Name::kVectorIterator, make<::CorePlugin::VectorIterator>},
    {Name::kVectorAt, make<::CorePlugin::VectorAt>},
    {Name::kMd5, make<::CorePlugin::Md5>},
    {Name::kSubstring, make<::CorePlugin::Substring>},
    {Name::kContains, make<::CorePlugin::Contains>},
    {Name::kClip, make<::CorePlugin::Clip>},
    {Name::kStringSlice, make<::CorePlugin::StringSlice>},
    {Name::kStringCrop, make<::CorePlugin::StringCrop>},
    {Name::kIniFileKeyExists, make<::CorePlugin::IniFileKeyExists>},
    {Name::kIniFileKeyValue, make<::CorePlugin::IniFileKeyValue>},
    {Name::kMountServer, makeWithMounts<::CorePlugin::MountServer>},
    {Name::kMountPath, makeWithMounts<::CorePlugin::MountPath>},
    {Name::kMountRemotePath, makeWithMounts<::CorePlugin::MountRemotePath>},
};
static_assert(std::size(kExpressionTable) == 33);

bool isAcceptedProperty(const wchar_t* name, const wchar_t* value) {
    // A null text is no name and no value: it is skipped like any other unexpected pair.
    if (name == nullptr || value == nullptr || std::wcscmp(name, kRegistrySectionProperty) != 0) {
        return false;
    }
    for (const wchar_t* accepted : kRegistrySectionValues) {
        if (std::wcscmp(value, accepted) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

namespace PluginSDK {

CorePlugin::CorePlugin() = default;

CorePlugin::~CorePlugin() = default;

void CorePlugin::setProperty(const wchar_t* name, const wchar_t* value) {
    if (isAcceptedProperty(name, value)) {
        Configuration* configuration = nullptr;
        Configuration::get(kPluginName, configuration);
        COREPLUGIN_ASSERT(configuration != 0, "./../../../src/plugins/CorePlugin/CorePlugin", 210);
        configuration->setProperty(String(name), String(value));
        return;
    }
    Trace trace(Tracer::getInstance(Tracer::PLUGIN),
                L"CorePlugin::setProperty(const wchar_t *, const wchar_t *)");
    trace.setLevel(2);
    trace << trace.pos(kSourceFile, 201) << L"Unexpected plugin property, skipping. " << L"plugin=["
          << kPluginName << L"] " << L"name=[" << (name ? name : L"") << L"] " << L"value=["
          << (value ? value : L"") << L"]" << Trace::END_OF_MESSAGE;
}

PluginVersion CorePlugin::getVersion() const {
    return PluginVersion{1, 1, 1, 1};
}

const wchar_t* CorePlugin::getName() const {
    return kPluginName;
}

void* CorePlugin::getUnknownSoftware() {
    return nullptr;
}

std::int32_t CorePlugin::initializePlugin() {
    for (const ExpressionRow& row : kExpressionTable) {
        addExpression(row.name);
    }
    return m_MountList.Initialize();
}

std::int32_t CorePlugin::cleanupPlugin() {
    return Configuration::cleanup(kPluginName);
}

std::int32_t CorePlugin::createExpression(const wchar_t* name, Expression** expression) {
    if (name == nullptr || expression == nullptr) {
        return RC_INVALID_ARGUMENT;
    }
    for (const ExpressionRow& row : kExpressionTable) {
        // The first character rules out most rows without a call.
        if (row.name[0] == name[0] && std::wcscmp(row.name, name) == 0) {
            if (row.make == nullptr) {
                break;
            }
            *expression = row.make(&m_MountList);
            return RC_SUCCESS;
        }
    }
    *expression = nullptr;
    return RC_UNKNOWN_EXPRESSION;
}

std::int32_t CorePlugin::destroyExpression(Expression* expression) {
    delete expression;
    return RC_SUCCESS;
}

}  // namespace PluginSDK

PluginSDK::Plugin* createPlugin() {
    return new PluginSDK::CorePlugin();
}

void destroyPlugin(PluginSDK::Plugin* plugin) {
    delete plugin;
}
