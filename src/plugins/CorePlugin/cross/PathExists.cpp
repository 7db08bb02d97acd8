#include "cross/PathExists.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/Path.h"

namespace CorePlugin {

std::int32_t PathExists::validateProperties() const {
    return getProperty(PropertyName::kAbsolutePath) == nullptr ? PluginSDK::RC_ABSOLUTE_PATH_ABSENT
                                                               : PluginSDK::RC_SUCCESS;
}

std::int32_t PathExists::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    // validateProperties() with the one lookup the evaluation needs.
    const wchar_t* absolutePath = getProperty(PropertyName::kAbsolutePath);
    if (absolutePath == nullptr) {
        return PluginSDK::RC_ABSOLUTE_PATH_ABSENT;
    }
    const Path path(absolutePath);
    bool exists = false;
    const std::int32_t status = path.exists(&exists);
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    // Copied into the host's result as text, so a re-evaluated node reuses its storage.
    result = exists ? TruthWord::kTrue : TruthWord::kFalse;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
