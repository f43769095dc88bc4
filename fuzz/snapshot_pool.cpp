#include "snapshot_pool.h"

#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace snapshot_pool {
namespace {

constexpr std::size_t kRedZone = 64;
constexpr std::size_t kBlocks = 16384;
constexpr std::size_t kQuarantine = 4096;

struct Pool {
    std::size_t size = 0;   // the served size
    std::size_t stride = 0; // red zone, payload, rounded to the red zone
    unsigned char* base = nullptr;
    std::size_t made = 0; // blocks handed out at least once
    bool inUse[kBlocks] = {};
    std::size_t freed[kBlocks] = {}; // ring of freed blocks, the oldest first
    std::size_t freedHead = 0;
    std::size_t freedCount = 0;
    std::size_t live = 0;
};

// Constant-initialized: allocations made before main find it ready.
Pool thePool;

Pool& pool() {
    return thePool;
}

unsigned char* Payload(const Pool& p, std::size_t block) {
    return p.base + block * p.stride + kRedZone;
}

} // namespace

void Serve(std::size_t size) {
    Pool& p = pool();
    if (p.base != nullptr) {
        return;
    }
    p.size = size;
    p.stride = kRedZone + (size + kRedZone - 1) / kRedZone * kRedZone;
    // One red zone more after the last block.
    p.base = static_cast<unsigned char*>(std::malloc(kBlocks * p.stride + kRedZone));
    if (p.base == nullptr) {
        std::abort();
    }
    __asan_poison_memory_region(p.base, kBlocks * p.stride + kRedZone);
}

void* Take(std::size_t size) {
    Pool& p = pool();
    if (p.base == nullptr || size != p.size) {
        return nullptr;
    }
    std::size_t block = 0;
    if (p.freedCount > kQuarantine) {
        block = p.freed[p.freedHead];
        p.freedHead = (p.freedHead + 1) % kBlocks;
        --p.freedCount;
    } else if (p.made < kBlocks) {
        block = p.made++;
    } else {
        return nullptr;
    }
    p.inUse[block] = true;
    ++p.live;
    __asan_unpoison_memory_region(Payload(p, block), p.size);
    return Payload(p, block);
}

bool Give(void* pointer) {
    Pool& p = pool();
    const auto* at = static_cast<unsigned char*>(pointer);
    if (p.base == nullptr || at < p.base || at >= p.base + kBlocks * p.stride) {
        return false;
    }
    const std::size_t offset = static_cast<std::size_t>(at - p.base);
    const std::size_t block = offset / p.stride;
    if (offset % p.stride != kRedZone || !p.inUse[block]) {
        std::fprintf(stderr, "snapshot pool: free of %p, which is not a block in use\n", pointer);
        std::abort();
    }
    p.inUse[block] = false;
    --p.live;
    __asan_poison_memory_region(Payload(p, block), p.size);
    p.freed[(p.freedHead + p.freedCount) % kBlocks] = block;
    ++p.freedCount;
    return true;
}

std::size_t Live() {
    return pool().live;
}

} // namespace snapshot_pool

// The program's allocations: the pool's size from the pool, the rest from the
// sanitizer's allocator, through malloc and free for every form of new and delete
// (so that no block crosses between two allocators).
namespace {

void* Allocate(std::size_t size) noexcept {
    if (void* block = snapshot_pool::Take(size)) {
        return block;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void Release(void* pointer) noexcept {
    if (pointer != nullptr && !snapshot_pool::Give(pointer)) {
        std::free(pointer);
    }
}

} // namespace

void* operator new(std::size_t size) {
    if (void* memory = Allocate(size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
