#include "cross/MountQuery.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

std::int32_t validateMountProperties(const PluginSDK::Expression& expression) {
    return expression.getProperty(PropertyName::kAbsolutePath) == nullptr
               ? PluginSDK::RC_ABSOLUTE_PATH_ABSENT
               : PluginSDK::RC_SUCCESS;
}

std::int32_t queryMountTable(const PluginSDK::Expression& expression, std::int32_t validation,
                             const mountlist* mounts, MountLookup lookup, bool pathWhenEmpty,
                             PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    if (validation != PluginSDK::RC_SUCCESS) {
        return validation;
    }
    if (mounts == nullptr || !mounts->m_IsValid) {
        return PluginSDK::RC_MOUNT_TABLE_UNAVAILABLE;
    }
    const wchar_t* path = expression.getProperty(PropertyName::kAbsolutePath);
    ::String answer = (mounts->*lookup)(path);
    if (pathWhenEmpty && answer.length() == 0) {
        answer = ::String(path);
    }
    // The answer travels as multibyte text, as the table's callers have always taken it.
    result = static_cast<const char*>(answer);
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
