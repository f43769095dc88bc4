// The puzzle engine allocates and frees about 1,700 candidate snapshots per
// seed, and AddressSanitizer's allocator (red zones, quarantine, stack traces,
// fills) took more than half of the engine target's time. Within the target, the
// allocations of a snapshot's size come from a pool that keeps what the
// sanitizer's allocator checks, with AddressSanitizer's manual poisoning:
// - each block stands between poisoned red zones: an access past either end of a
//   snapshot is reported;
// - a freed block is poisoned and reused only after 4,096 later frees, more than a
//   whole seed makes: a use after free within a seed is reported;
// - freeing a block that is not in use aborts (a double free);
// - Live() counts the blocks in use, which the target checks to be 0 after each
//   seed (the leak check of the snapshots).
// Every other allocation goes to the sanitizer's allocator as before.
#pragma once

#include <cstddef>

namespace snapshot_pool {

// The size served by the pool; other sizes are not.
void Serve(std::size_t size);
// A block of the served size, or null when the size is another or the pool is full.
void* Take(std::size_t size);
// Takes a pool block back; false when the pointer is not the pool's.
bool Give(void* pointer);
// Blocks in use.
std::size_t Live();

} // namespace snapshot_pool
