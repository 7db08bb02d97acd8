#pragma once

#include <cstdint>

// The test's replacement of the global operator new, which can be told to fail once, at the
// n-th allocation from now: the way to reach every path that a std::bad_alloc can take.

namespace failing_allocator {

/// Blocks taken through operator new and not yet given back.
std::int64_t live();

/// Makes the n-th allocation (1: the next one) throw std::bad_alloc while it lives; the ones
/// after it succeed again, as they would once memory is freed.
class FailAt {
public:
    explicit FailAt(std::uint64_t n);
    ~FailAt();

    FailAt(const FailAt&) = delete;
    FailAt& operator=(const FailAt&) = delete;

    /// Whether the n-th allocation came, and failed.
    bool fired() const;
};

}  // namespace failing_allocator
