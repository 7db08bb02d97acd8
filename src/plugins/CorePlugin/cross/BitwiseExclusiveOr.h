#pragma once

#include <cstdint>

#include "cross/BitwiseOperator.h"

namespace CorePlugin {

namespace detail {
inline std::uint32_t bitwiseExclusiveOr(std::uint32_t first, std::uint32_t second) {
    return first ^ second;
}
}  // namespace detail

/// The bitwise exclusive OR of two unsigned 32-bit numbers.
class BitwiseExclusiveOr : public BitwiseOperator<detail::bitwiseExclusiveOr> {};

}  // namespace CorePlugin
