// Whole puzzles: properties over many seeds, and exact puzzles for a few.
// The C library's rand() differs between platforms, so the exact values come
// in one set per library.
#include "EngineCheck.h"
#include "PuzzleBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

PuzzleBuilder& makePuzzle(unsigned seed) {
    static PuzzleBuilder builder;
    std::srand(seed);
    builder.generateFullGrid();
    builder.removeClues();
    return builder;
}

std::string digitsOf(const CellGrid& grid) {
    std::string text;
    for (CellValue v : grid) {
        text += static_cast<char>('0' + v);
    }
    return text;
}

std::string digitsOf(const ClueMask& mask) {
    std::string text;
    for (std::uint8_t m : mask) {
        text += static_cast<char>('0' + m);
    }
    return text;
}

struct Golden {
    unsigned seed;
    const char* solution;
    const char* mask;
};

#ifdef _WIN32
constexpr Golden kGolden[] = {
    {1, "649781235782653941531294678416937582958462317273815496125379864897546123364128759",
     "010010110111111101010011100010111110110111111001001011110001111011010100000111111"},
    {777, "295367184476815239381429567814236975567948321932751648729183456648592713153674892",
     "111110001110111011111011011011010101111110110111001011100100000101001011100001100"},
    {123456789, "389174562725689431146235789251467398693852174478913256932746815867521943514398627",
     "010111101111101110010111000110000011110110100101011011111111011110110101100011011"},
};
// FNV-1a over 4 * digit + mask byte of every cell of the puzzles of seeds 1..1000.
constexpr std::uint64_t kThousandPuzzlesChecksum = 0x425c8ea70dae7fbb;
#else
constexpr Golden kGolden[] = {
    {1, "284379516637145982519628734792584163168732459345961278451893627826457391973216845",
     "110011011001110101001111010000111110011001111100101011110010110011001100111110110"},
    {777, "358216479496537128721948635513769842684321957972854361147692583239485716865173294",
     "011110111101101100100111101001000111011111011101111011011101100001010110011100010"},
    {123456789, "397825416865149372142367985436978521721453698958216743584731269213694857679582134",
     "111101001111001110011110101111110100111100010010100010100010111001001011110001101"},
};
constexpr std::uint64_t kThousandPuzzlesChecksum = 0xc58bcbd84fd44be2;
#endif

TEST(Puzzle, FixedSeedsGiveTheExactPuzzles) {
    for (const Golden& golden : kGolden) {
        SCOPED_TRACE(golden.seed);
        const PuzzleBuilder& builder = makePuzzle(golden.seed);
        EXPECT_EQ(digitsOf(builder.solution), golden.solution);
        EXPECT_EQ(digitsOf(builder.clueMask), golden.mask);
    }
}

TEST(Puzzle, EverySeedGivesAUniquePuzzleOfItsSolution) {
    std::uint64_t checksum = 0xcbf29ce484222325;
    PuzzleBuilder builder; // one record for every seed, as the program's one global
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        builder.generateFullGrid();
        const CellGrid generated = builder.solution;
        builder.removeClues();
        ASSERT_EQ(check::judgeBuilder(builder, generated), "");
        for (int k = 0; k < kCellCount; ++k) {
            checksum =
                (checksum ^ static_cast<unsigned>(4 * builder.solution[k] + builder.clueMask[k])) *
                0x100000001b3;
        }
    }
    EXPECT_EQ(checksum, kThousandPuzzlesChecksum) << std::hex << checksum;
}

} // namespace
