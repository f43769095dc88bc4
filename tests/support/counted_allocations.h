// A test program that links this library has its global operator new replaced:
// the blocks are counted, and allocations can be made to fail.
#pragma once

namespace test_allocations {
// Allocations still allowed before each one fails (std::bad_alloc); negative: no limit.
extern int allowedAllocations;
// Blocks allocated through operator new and not yet released, and in all.
extern long liveBlocks;
extern long allocations;
} // namespace test_allocations
