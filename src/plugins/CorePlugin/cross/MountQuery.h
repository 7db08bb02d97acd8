#pragma once

#include <cstdint>

#include "PluginSDK/Expression.h"
#include "PluginSDK/String.h"
#include "base/mountlist.h"

namespace CorePlugin {

/// One of the questions the mount expressions ask their table about a path.
using MountLookup = ::String (mountlist::*)(const wchar_t* path) const;

/// The result operation the three mount expressions share: `result` is cleared, and a failed
/// property check's `validation` code returned; then -400 without a valid table, otherwise 0
/// with the table's answer in `result`. With `pathWhenEmpty`, an empty answer becomes the path
/// itself.
std::int32_t queryMountTable(const PluginSDK::Expression& expression, std::int32_t validation,
                             const mountlist* mounts, MountLookup lookup, bool pathWhenEmpty,
                             PluginSDK::String& result);

/// 0, or -11025 when the expression has no "absolutePath".
std::int32_t validateMountProperties(const PluginSDK::Expression& expression);

}  // namespace CorePlugin
