// WritePuzzleFiles when masque.txt cannot be created: it returns false, and
// solution.txt, already written, is complete and released for other programs.
#include "PuzzleFiles.h"
#include "MainWindowFixture.h"

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Expected(const CellGrid& grid) {
    std::string text;
    for (CellValue v : grid) {
        text += static_cast<char>('0' + v);
        text += '\n';
    }
    return text;
}

// Opens the file unshared: this fails while any other handle holds it.
bool OpenedAlone(const char* name) {
    HANDLE file =
        CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

class PuzzleFilesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        fs::create_directory("files");
        fs::current_path("files");
    }
};

TEST_F(PuzzleFilesTest, MaskThatCannotBeCreatedLeavesTheSolutionCompleteAndFree) {
    fs::create_directory("masque.txt");
    EXPECT_FALSE(WritePuzzleFiles());
    EXPECT_EQ(ReadFileBytes("solution.txt"), Expected(puzzleBuilder.solution));
    EXPECT_TRUE(OpenedAlone("solution.txt"));
}

} // namespace
