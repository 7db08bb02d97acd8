#include "cross/Sort.h"

#include <cwchar>

#include "CorePluginNames.h"
#include "PluginSDK/ResultCodes.h"

namespace CorePlugin {

std::int32_t Sort::getVectorResult(PluginSDK::StringVector& result) {
    // Read at every call, unlike "filter": a host may ask again after changing the order.
    const wchar_t* order = getProperty(PropertyName::kOrder);
    if (order == nullptr || std::wcscmp(order, PropertyValue::kAscending) == 0) {
        sortValues(false);
    } else if (std::wcscmp(order, PropertyValue::kDescending) == 0) {
        sortValues(true);
    } else {
        return PluginSDK::RC_ORDER_INVALID;
    }
    return Vector::getVectorResult(result);
}

}  // namespace CorePlugin
