#include "cross/FileExists.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "common/File.h"

namespace CorePlugin {

std::int32_t FileExists::validateProperties() const {
    return getProperty(PropertyName::kAbsolutePath) == nullptr ? PluginSDK::RC_ABSOLUTE_PATH_ABSENT
                                                               : PluginSDK::RC_SUCCESS;
}

std::int32_t FileExists::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    const File file(getProperty(PropertyName::kAbsolutePath));
    bool exists = false;
    const std::int32_t status = file.exists(&exists);
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    // Copied into the host's result as text, so a re-evaluated node reuses its storage.
    result = exists ? TruthWord::kTrue : TruthWord::kFalse;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
