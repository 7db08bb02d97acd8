#pragma once

#include <cstdint>

#include "cross/BitwiseOperator.h"

namespace CorePlugin {

namespace detail {
inline std::uint32_t bitwiseInclusiveOr(std::uint32_t first, std::uint32_t second) {
    return first | second;
}
}  // namespace detail

/// The bitwise inclusive OR of two unsigned 32-bit numbers.
class BitwiseInclusiveOr : public BitwiseOperator<detail::bitwiseInclusiveOr> {};

}  // namespace CorePlugin
