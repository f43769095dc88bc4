// WritePuzzleFiles when a file cannot be created or written in full: it returns
// false, after one line naming the file and the reason, and a file already
// written is complete and released for other programs.
#include "PuzzleFiles.h"
#include "MainWindowFixture.h"

#ifndef _WIN32
#include "ScriptedSystemCalls.h"

#include <cerrno>
#include <vector>
#endif

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

#ifndef _WIN32
// What korvane makes of each answer of WriteFile, reached through the system
// calls behind the stand-in: a failure, fewer bytes taken than asked, none
// taken, and an interrupted write, which the platform makes again.
TEST_F(PuzzleFilesTest, OnlyFullWritesEndTheRun) {
    const Answer all{162};
    const struct {
        const char* file;
        std::vector<Answer> writes;
        const char* reason;
    } cases[] = {
        {"solution.txt", {{-1, ENOSPC}}, "There is not enough space on the disk"},
        {"solution.txt", {{100}, {0}}, "100 of 162 bytes written"},
        {"solution.txt", {{0}}, "0 of 162 bytes written"},
        {"masque.txt", {all, {-1, ENOSPC}}, "There is not enough space on the disk"},
        {"masque.txt", {all, {100}, {0}}, "100 of 162 bytes written"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.reason);
        fs::remove("solution.txt");
        fs::remove("masque.txt");
        ScriptedSystemCalls system;
        system.script(Call::Write, c.writes);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(WritePuzzleFiles());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string("korvane: ") + c.file + ": cannot write the file: " + c.reason +
                      "\n");
        if (std::string(c.file) == "solution.txt") {
            EXPECT_FALSE(fs::exists("masque.txt"));
        } else {
            EXPECT_EQ(ReadFileBytes("solution.txt"), Expected(puzzleBuilder.solution));
        }
        EXPECT_TRUE(OpenedAlone("solution.txt"));
    }

    ScriptedSystemCalls system;
    system.script(Call::Write, {{-1, EINTR}, {100}, {-1, EINTR}});
    EXPECT_EXIT(WritePuzzleFiles(), ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFileBytes("solution.txt"), Expected(puzzleBuilder.solution));
    EXPECT_EQ(ReadFileBytes("masque.txt"), Expected(puzzleGrid));
}
#endif

} // namespace
