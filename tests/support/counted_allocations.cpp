#include "counted_allocations.h"

#include <cstdlib>
#include <new>

namespace test_allocations {
int allowedAllocations = -1;
long liveBlocks = 0;
long allocations = 0;
} // namespace test_allocations

using namespace test_allocations;

void* operator new(std::size_t size) {
    if (allowedAllocations == 0) {
        throw std::bad_alloc();
    }
    allowedAllocations -= allowedAllocations > 0 ? 1 : 0;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++liveBlocks;
    ++allocations;
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --liveBlocks;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
