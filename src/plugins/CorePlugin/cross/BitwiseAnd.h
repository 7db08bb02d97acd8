#pragma once

#include <cstdint>

#include "cross/BitwiseOperator.h"

namespace CorePlugin {

namespace detail {
inline std::uint32_t bitwiseAnd(std::uint32_t first, std::uint32_t second) {
    return first & second;
}
}  // namespace detail

/// The bitwise AND of two unsigned 32-bit numbers.
class BitwiseAnd : public BitwiseOperator<detail::bitwiseAnd> {};

}  // namespace CorePlugin
