#include "temp_folder.h"

#include <fstream>
#include <iterator>
#include <random>

namespace test_support {

TempFolder::TempFolder() {
    std::random_device seed;
    const auto base = std::filesystem::temp_directory_path();
    do {
        path_ = base / ("sudoku-test-" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(path_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace test_support
