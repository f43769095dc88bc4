// WritePuzzleFiles when masque.txt cannot be created: it returns false, and
// solution.txt, already written, is complete and released for other programs.
#include "PuzzleFiles.h"
#include "MainWindowFixture.h"
#include "PuzzleCheck.h"

#include <algorithm>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

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
    const auto written = check::puzzleFileBoard(ReadFileBytes("solution.txt"));
    ASSERT_TRUE(written);
    EXPECT_TRUE(std::equal(written->begin(), written->end(), puzzleBuilder.solution.begin()));
    EXPECT_TRUE(OpenedAlone("solution.txt"));
}

} // namespace
