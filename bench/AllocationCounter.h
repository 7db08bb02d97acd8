#pragma once

#include <cstddef>

namespace bench {

/// How many times operator new has been called in this process so far. Linking
/// AllocationCounter.cpp replaces the global operator new and delete with counting ones.
std::size_t allocationCount();

}  // namespace bench
