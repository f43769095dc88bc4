// The committed icon file that korvane.rc compiles in: eight images, 16, 24,
// 32 and 48 pixels, each in 24-bit and in 32-bit colour, every entry pointing
// at a bitmap of its own size and depth inside the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

namespace {

std::uint32_t Read(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    }
    return value;
}

TEST(IconFile, HoldsFourSizesInTwoDepths) {
    std::ifstream in(KORVANE_ICON, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(Read(bytes, 0, 2), 0u);
    EXPECT_EQ(Read(bytes, 2, 2), 1u);
    ASSERT_EQ(Read(bytes, 4, 2), 8u);
    std::set<std::pair<int, int>> images;
    for (std::size_t i = 0; i < 8; ++i) {
        std::size_t entry = 6 + 16 * i;
        int size = static_cast<int>(Read(bytes, entry, 1));
        int bits = static_cast<int>(Read(bytes, entry + 6, 2));
        std::uint32_t length = Read(bytes, entry + 8, 4);
        std::uint32_t offset = Read(bytes, entry + 12, 4);
        SCOPED_TRACE(std::to_string(size) + " px, " + std::to_string(bits) + " bits");
        EXPECT_EQ(Read(bytes, entry + 1, 1), static_cast<std::uint32_t>(size));
        ASSERT_LE(offset + length, bytes.size());
        // The bitmap header: its width, twice its height (colour and mask), its depth.
        EXPECT_EQ(Read(bytes, offset, 4), 40u);
        EXPECT_EQ(Read(bytes, offset + 4, 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(Read(bytes, offset + 8, 4), static_cast<std::uint32_t>(2 * size));
        EXPECT_EQ(Read(bytes, offset + 14, 2), static_cast<std::uint32_t>(bits));
        std::uint32_t row = (static_cast<std::uint32_t>(size * bits / 8) + 3) / 4 * 4;
        std::uint32_t maskRow = (static_cast<std::uint32_t>(size) + 31) / 32 * 4;
        EXPECT_EQ(length, 40 + static_cast<std::uint32_t>(size) * (row + maskRow));
        images.emplace(size, bits);
    }
    std::set<std::pair<int, int>> expected = {{16, 24}, {16, 32}, {24, 24}, {24, 32},
                                              {32, 24}, {32, 32}, {48, 24}, {48, 32}};
    EXPECT_EQ(images, expected);
}

} // namespace
