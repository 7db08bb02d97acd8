#include "FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::int64_t> g_live{0};
std::atomic<std::uint64_t> g_countdown{0};  // 0: disarmed
std::atomic<bool> g_fired{false};

void* allocate(std::size_t size) {
    const std::uint64_t left = g_countdown.load(std::memory_order_relaxed);
    if (left != 0 && g_countdown.fetch_sub(1, std::memory_order_relaxed) == 1) {
        g_fired.store(true, std::memory_order_relaxed);
        throw std::bad_alloc();
    }
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    g_live.fetch_add(1, std::memory_order_relaxed);
    return block;
}

void release(void* block) noexcept {
    if (block != nullptr) {
        g_live.fetch_sub(1, std::memory_order_relaxed);
        std::free(block);
    }
}

}  // namespace

namespace failing_allocator {

std::int64_t live() {
    return g_live.load();
}

FailAt::FailAt(std::uint64_t n) {
    g_fired.store(false);
    g_countdown.store(n);
}

FailAt::~FailAt() {
    g_countdown.store(0);
}

bool FailAt::fired() const {
    return g_fired.load();
}

}  // namespace failing_allocator

void* operator new(std::size_t size) {
    return allocate(size);
}

void* operator new[](std::size_t size) {
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept {
    release(block);
}

void operator delete[](void* block) noexcept {
    release(block);
}

void operator delete(void* block, std::size_t) noexcept {
    release(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
