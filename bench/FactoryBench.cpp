// The factory: createExpression and destroyExpression of each of the 33 names, beside a plain
// new and delete of the same class, which is the floor the name lookup adds to.

#include <benchmark/benchmark.h>

#include <string>

#include "CorePlugin.h"
#include "CorePluginNames.h"
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
#include "platform/utf8.h"

namespace {

namespace Name = ::CorePlugin::ExpressionName;

using Make = PluginSDK::Expression* (*)(const mountlist* mounts);

template <class T>
PluginSDK::Expression* make(const mountlist*) {
    return new T();
}

template <class T>
PluginSDK::Expression* makeWithMounts(const mountlist* mounts) {
    return new T(mounts);
}

struct Row {
    const wchar_t* name;
    Make make;
};

// Registration order.
const Row kRows[] = {
    {Name::kNot, make<CorePlugin::Not>},
    {Name::kAnd, make<CorePlugin::And>},
    {Name::kOr, make<CorePlugin::Or>},
    {Name::kFileInfo, make<CorePlugin::FileInfo>},
    {Name::kFileInfoCompare, make<CorePlugin::FileInfoCompare>},
    {Name::kFileExists, make<CorePlugin::FileExists>},
    {Name::kFileDirectory, make<CorePlugin::FileDirectory>},
    {Name::kPathExists, make<CorePlugin::PathExists>},
    {Name::kValueOf, make<CorePlugin::ValueOf>},
    {Name::kCompare, make<CorePlugin::Compare>},
    {Name::kVector, make<CorePlugin::Vector>},
    {Name::kSort, make<CorePlugin::Sort>},
    {Name::kMatch, make<CorePlugin::Match>},
    {Name::kConcat, make<CorePlugin::Concat>},
    {Name::kSwitch, make<CorePlugin::Switch>},
    {Name::kBitwiseAnd, make<CorePlugin::BitwiseAnd>},
    {Name::kBitwiseInclusiveOr, make<CorePlugin::BitwiseInclusiveOr>},
    {Name::kBitwiseExclusiveOr, make<CorePlugin::BitwiseExclusiveOr>},
    {Name::kScalarToVector, make<CorePlugin::ScalarToVector>},
    {Name::kVectorToScalar, make<CorePlugin::VectorToScalar>},
    {Name::kVectorIterator, make<CorePlugin::VectorIterator>},
    {Name::kVectorAt, make<CorePlugin::VectorAt>},
    {Name::kMd5, make<CorePlugin::Md5>},
    {Name::kSubstring, make<CorePlugin::Substring>},
    {Name::kContains, make<CorePlugin::Contains>},
    {Name::kClip, make<CorePlugin::Clip>},
    {Name::kStringSlice, make<CorePlugin::StringSlice>},
    {Name::kStringCrop, make<CorePlugin::StringCrop>},
    {Name::kIniFileKeyExists, make<CorePlugin::IniFileKeyExists>},
    {Name::kIniFileKeyValue, make<CorePlugin::IniFileKeyValue>},
    {Name::kMountServer, makeWithMounts<CorePlugin::MountServer>},
    {Name::kMountPath, makeWithMounts<CorePlugin::MountPath>},
    {Name::kMountRemotePath, makeWithMounts<CorePlugin::MountRemotePath>},
};
static_assert(std::size(kRows) == 33);

PluginSDK::CorePlugin& plugin() {
    static PluginSDK::CorePlugin* instance = [] {
        auto* created = new PluginSDK::CorePlugin();
        created->initializePlugin();
        return created;
    }();
    return *instance;
}

void factory(benchmark::State& state, const wchar_t* name) {
    PluginSDK::CorePlugin& factory = plugin();
    for (auto _ : state) {
        PluginSDK::Expression* expression = nullptr;
        factory.createExpression(name, &expression);
        benchmark::DoNotOptimize(expression);
        factory.destroyExpression(expression);
    }
}

void newDelete(benchmark::State& state, Make make) {
    const mountlist* mounts = plugin().getMountList();
    for (auto _ : state) {
        PluginSDK::Expression* expression = make(mounts);
        benchmark::DoNotOptimize(expression);
        delete expression;
    }
}

const bool kRegistered = [] {
    for (const Row& row : kRows) {
        std::string name;
        platform::toUtf8(row.name, name);
        benchmark::RegisterBenchmark(("BM_Factory/" + name).c_str(), factory, row.name);
        benchmark::RegisterBenchmark(("BM_NewDelete/" + name).c_str(), newDelete, row.make);
    }
    return true;
}();

}  // namespace
