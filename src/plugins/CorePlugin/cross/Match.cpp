#include "cross/Match.h"

#include <string>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"
#include "utils/Wildcard.h"

namespace CorePlugin {

Match::Properties::Properties() : inputString(nullptr), filter(nullptr), ignoreCase(false) {}

std::int32_t Match::validateProperties(Properties& properties) {
    properties.inputString = getProperty(PropertyName::kInputString);
    if (properties.inputString == nullptr) {
        return PluginSDK::RC_TEXT_PROPERTY_ABSENT;
    }
    properties.filter = getProperty(PropertyName::kFilter);
    if (properties.filter == nullptr) {
        return PluginSDK::RC_TEXT_PROPERTY_ABSENT;
    }
    const PluginSDK::String ignoreCase(getProperty(PropertyName::kIgnoreCase));
    properties.ignoreCase = ignoreCase == TruthWord::kTrue;
    return PluginSDK::RC_SUCCESS;
}

std::int32_t Match::getScalarResult(PluginSDK::String& result) {
    Properties properties;
    const std::int32_t status = validateProperties(properties);
    if (status != PluginSDK::RC_SUCCESS) {
        return status;
    }
    // Copies, because folding case rewrites them.
    std::wstring pattern(properties.filter);
    std::wstring text(properties.inputString);
    result = utils::matchWildcard(pattern, text, properties.ignoreCase) ? TruthWord::kTrue
                                                                        : TruthWord::kFalse;
    return PluginSDK::RC_SUCCESS;
}

}  // namespace CorePlugin
