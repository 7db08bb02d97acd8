#pragma once

#include <cstdint>

#include "PluginSDK/StringVector.h"
#include "cross/Vector.h"

namespace CorePlugin {

/// A Vector whose list comes out in code-point order, ascending, or descending when "order" is
/// "desc".
class Sort : public Vector {
public:
    /// Sorts the stored list in place, then answers as Vector does; -11056 for any "order" but
    /// "asc" and "desc", with nothing sorted and `result` as it was.
    std::int32_t getVectorResult(PluginSDK::StringVector& result) override;
};

}  // namespace CorePlugin
