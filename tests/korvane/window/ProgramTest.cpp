// Black-box runs of the built korvane program in scratch folders: exit code,
// the bytes of solution.txt and masque.txt, and the failures to write them.
#include "GridCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int exitCode;
    std::string errors;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the program with folder as its current folder, and with its standard
// input closed when asked.
ProgramRun RunIn(const fs::path& folder, bool inputClosed = false) {
    fs::path errors = folder.parent_path() / (folder.filename().string() + ".stderr");
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.c_str()) != 0 || !freopen(errors.c_str(), "w", stderr) ||
            (inputClosed && close(0) != 0)) {
            _exit(127);
        }
        execl(KORVANE_PROGRAM, "korvane", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(errors)};
    fs::remove(errors);
    return run;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("korvane-run-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

// Reads a grid file: 81 lines of one digit and LF, nothing else.
bool ParseGrid(const std::string& bytes, check::Board& grid) {
    if (bytes.size() != 162) {
        return false;
    }
    for (int i = 0; i < 81; ++i) {
        char digit = bytes[2 * i];
        if (digit < '0' || digit > '9' || bytes[2 * i + 1] != '\n') {
            return false;
        }
        grid[i] = digit - '0';
    }
    return true;
}

TEST_F(ProgramTest, NormalRunWritesBothFilesAndEndsWithOne) {
    // Longer old files are replaced completely.
    std::ofstream(folder / "solution.txt", std::ios::binary) << std::string(5000, '7');
    std::ofstream(folder / "masque.txt", std::ios::binary) << std::string(5000, '\r');
    ProgramRun run = RunIn(folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "");

    std::string solutionBytes = ReadBytes(folder / "solution.txt");
    std::string maskBytes = ReadBytes(folder / "masque.txt");
    EXPECT_EQ(solutionBytes.find('\r'), std::string::npos);
    EXPECT_EQ(maskBytes.find('\r'), std::string::npos);
    check::Board solution{};
    check::Board mask{};
    ASSERT_TRUE(ParseGrid(solutionBytes, solution)) << solutionBytes.size() << " bytes";
    ASSERT_TRUE(ParseGrid(maskBytes, mask)) << maskBytes.size() << " bytes";
    EXPECT_TRUE(check::isCompleteValid(solution));
    EXPECT_TRUE(check::keepsGivens(mask, solution));
    EXPECT_GE(std::count_if(mask.begin(), mask.end(), [](int v) { return v != 0; }), 28);
    EXPECT_EQ(check::countCompletions(mask, 2), 1);
}

// Milliseconds of the clock that the stand-in's GetTickCount reads.
long long BootMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

TEST_F(ProgramTest, RunsAtDifferentTicksWriteDifferentPuzzles) {
    const fs::path later = folder / "later";
    fs::create_directories(later);
    EXPECT_EQ(RunIn(folder).exitCode, 1);
    // The first run took its tick before it ended; the second takes a later one.
    const long long ended = BootMilliseconds();
    while (BootMilliseconds() == ended) {
    }
    EXPECT_EQ(RunIn(later).exitCode, 1);
    const std::string first = ReadBytes(folder / "solution.txt");
    ASSERT_EQ(first.size(), 162u);
    EXPECT_NE(ReadBytes(later / "solution.txt"), first);
}

TEST_F(ProgramTest, StandardInputClosedTheFirstFileTakesDescriptorZero) {
    ProgramRun run = RunIn(folder, true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "");
    check::Board grid{};
    EXPECT_TRUE(ParseGrid(ReadBytes(folder / "solution.txt"), grid));
    EXPECT_TRUE(ParseGrid(ReadBytes(folder / "masque.txt"), grid));
}

TEST_F(ProgramTest, SolutionFileThatCannotBeCreatedStopsBeforeTheMask) {
    fs::create_directory(folder / "solution.txt");
    ProgramRun run = RunIn(folder);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(fs::exists(folder / "masque.txt"));
    ASSERT_FALSE(run.errors.empty());
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
    EXPECT_NE(run.errors.find("solution.txt"), std::string::npos) << run.errors;
}

TEST_F(ProgramTest, MaskFileThatCannotBeCreatedLeavesACompleteSolution) {
    fs::create_directory(folder / "masque.txt");
    ProgramRun run = RunIn(folder);
    EXPECT_EQ(run.exitCode, 0);
    check::Board solution{};
    EXPECT_TRUE(ParseGrid(ReadBytes(folder / "solution.txt"), solution));
    EXPECT_TRUE(check::isCompleteValid(solution));
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
    EXPECT_NE(run.errors.find("masque.txt"), std::string::npos) << run.errors;
}

TEST_F(ProgramTest, FailedWritesNeverEndWithOne) {
    for (const char* name : {"solution.txt", "masque.txt"}) {
        SCOPED_TRACE(name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::create_symlink("/dev/full", folder / name);
        ProgramRun run = RunIn(folder);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.errors.find(name), std::string::npos) << run.errors;
    }
}

} // namespace
