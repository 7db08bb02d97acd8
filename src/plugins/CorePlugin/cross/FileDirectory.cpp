#include "cross/FileDirectory.h"

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "base/String.h"

namespace CorePlugin {

std::int32_t FileDirectory::validateProperties() const {
    return getProperty(PropertyName::kFile) == nullptr ? PluginSDK::RC_ABSOLUTE_PATH_ABSENT
                                                       : PluginSDK::RC_SUCCESS;
}

std::int32_t FileDirectory::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);
    const std::int32_t code = validateProperties();
    if (code != PluginSDK::RC_SUCCESS) {
        return code;
    }
    result = L"";
    const ::String file(getProperty(PropertyName::kFile));
    if (file.length() == 0) {
        return PluginSDK::RC_SUCCESS;
    }
    const int separator = file.lastIndexOf(::String(L"/"), -1);
    ::String directory;
    if (separator > 0) {
        directory = file.substring(0, separator - 1);
    } else if (separator == 0) {
        // The root keeps its separator: the directory of "/x" is "/".
        directory = file.substring(0, 0);
    }
    result = directory.m_Text;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
