// Fuzz target: the puzzle engine with the random seed taken from the input.
// Each puzzle must be valid, keep at least 28 givens, and have exactly one
// completion, equal to the solution, as counted by a search of our own; every
// snapshot that a seed allocates is released by its end (snapshot_pool.h).
#include "EngineCheck.h"
#include "PuzzleBuilder.h"
#include "snapshot_pool.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void fail(unsigned seed, const char* what) {
    std::fprintf(stderr, "seed %u: %s\n", seed, what);
    std::abort();
}

void CheckSeed(unsigned seed) {
    std::srand(seed);
    PuzzleBuilder builder;
    builder.generateFullGrid();
    const CellGrid generated = builder.solution;
    builder.removeClues();
    const std::string finding = check::judgeBuilder(builder, generated);
    if (!finding.empty()) {
        fail(seed, finding.c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    snapshot_pool::Serve(sizeof(CandidateSnapshot));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned seed = 0;
    std::memcpy(&seed, data, size < sizeof seed ? size : sizeof seed);
    const std::size_t live = snapshot_pool::Live();
    CheckSeed(seed);
    if (snapshot_pool::Live() != live) {
        fail(seed, "snapshots not released");
    }
    return 0;
}
