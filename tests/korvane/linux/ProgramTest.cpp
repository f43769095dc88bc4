// Black-box runs of the Linux korvane in scratch folders: exit code, the bytes
// of solution.txt and masque.txt, and the line on standard error when a file
// cannot be made.
#include "PuzzleCheck.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/file.h>
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
    test_support::TempFolder scratch;
    const fs::path& folder = scratch.Path();
};

TEST_F(ProgramTest, NormalRunWritesBothFilesAndEndsWithOne) {
    // Longer old files are replaced completely.
    std::ofstream(folder / "solution.txt", std::ios::binary) << std::string(5000, '7');
    std::ofstream(folder / "masque.txt", std::ios::binary) << std::string(5000, '\r');
    ProgramRun run = RunIn(folder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(check::judgePuzzleFiles(ReadBytes(folder / "solution.txt"),
                                      ReadBytes(folder / "masque.txt")),
              "");
}

// Milliseconds of the clock that the program's seed reads.
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
    EXPECT_EQ(check::judgePuzzleFiles(ReadBytes(folder / "solution.txt"),
                                      ReadBytes(folder / "masque.txt")),
              "");
}

// A file that cannot be created or written: exit code 0, one line that names the
// file and gives the system's reason, masque.txt not attempted after solution.txt,
// and a complete solution.txt left after a failure on masque.txt.
TEST_F(ProgramTest, FilesThatCannotBeMadeEndWithZeroAndOneLine) {
    int held = -1; // a descriptor that holds solution.txt locked, as another run would
    const struct {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        const char* file;
        const char* step;
        int error;
    } cases[] = {
        {"solution.txt a folder",
         [](const fs::path& f) { fs::create_directory(f / "solution.txt"); }, "solution.txt",
         "create", EISDIR},
        {"masque.txt a folder", [](const fs::path& f) { fs::create_directory(f / "masque.txt"); },
         "masque.txt", "create", EISDIR},
        {"solution.txt a link into a missing folder",
         [](const fs::path& f) { fs::create_symlink("missing/solution.txt", f / "solution.txt"); },
         "solution.txt", "create", ENOENT},
        {"solution.txt on a full device",
         [](const fs::path& f) { fs::create_symlink("/dev/full", f / "solution.txt"); },
         "solution.txt", "write", ENOSPC},
        {"masque.txt on a full device",
         [](const fs::path& f) { fs::create_symlink("/dev/full", f / "masque.txt"); }, "masque.txt",
         "write", ENOSPC},
        {"solution.txt held by another run",
         [&held](const fs::path& f) {
             std::ofstream(f / "solution.txt") << "old";
             held = open((f / "solution.txt").c_str(), O_RDONLY | O_CLOEXEC);
             ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
         },
         "solution.txt", "create", EWOULDBLOCK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.prepare(folder);
        const ProgramRun run = RunIn(folder);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.errors, std::string("korvane: ") + c.file + ": cannot " + c.step +
                                  " the file: " + std::strerror(c.error) + "\n");
        if (std::string(c.file) == "masque.txt") {
            const auto solution = check::puzzleFileBoard(ReadBytes(folder / "solution.txt"));
            ASSERT_TRUE(solution);
            EXPECT_TRUE(check::isCompleteValid(*solution));
        } else {
            EXPECT_FALSE(fs::exists(folder / "masque.txt"));
        }
        if (held >= 0) {
            // The held file keeps what it had.
            EXPECT_EQ(ReadBytes(folder / "solution.txt"), "old");
            close(held);
            held = -1;
        }
    }
}

} // namespace
