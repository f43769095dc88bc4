// Black-box runs of the Linux korvane in scratch folders: exit code, the bytes
// of solution.txt and masque.txt, and the line on standard error when a file
// cannot be made; runs at once in one folder.
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
#include <linux/capability.h>
#include <map>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
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

// Starts the program with folder as its current folder, its standard error into
// errors, and its standard input closed when asked. It runs as a user would: root's
// right to write files whose mode forbids it is dropped (a user has none to drop).
pid_t Start(const fs::path& folder, const fs::path& errors, bool inputClosed = false) {
    pid_t child = fork();
    if (child == 0) {
        prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
        if (chdir(folder.c_str()) != 0 || !freopen(errors.c_str(), "w", stderr) ||
            (inputClosed && close(0) != 0)) {
            _exit(127);
        }
        execl(KORVANE_PROGRAM, "korvane", static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

ProgramRun Finish(pid_t child, const fs::path& errors) {
    int status = 0;
    waitpid(child, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(errors)};
    fs::remove(errors);
    return run;
}

ProgramRun RunIn(const fs::path& folder, bool inputClosed = false) {
    const fs::path errors = folder.parent_path() / (folder.filename().string() + ".stderr");
    return Finish(Start(folder, errors, inputClosed), errors);
}

// The names in a folder, each with its bytes when it is a file.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        contents[entry.path().filename()] = entry.is_regular_file() ? ReadBytes(entry) : "(other)";
    }
    return contents;
}

class ProgramTest : public ::testing::Test {
protected:
    test_support::TempFolder scratch;
    const fs::path& folder = scratch.Path();
};

// With standard input closed too: the first file then takes descriptor 0.
TEST_F(ProgramTest, NormalRunWritesBothFilesAndEndsWithOne) {
    for (const bool inputClosed : {false, true}) {
        SCOPED_TRACE(inputClosed ? "standard input closed" : "standard input open");
        // Longer old files are replaced completely.
        std::ofstream(folder / "solution.txt", std::ios::binary) << std::string(5000, '7');
        std::ofstream(folder / "masque.txt", std::ios::binary) << std::string(5000, '\r');
        ProgramRun run = RunIn(folder, inputClosed);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(check::judgePuzzleFiles(ReadBytes(folder / "solution.txt"),
                                          ReadBytes(folder / "masque.txt")),
                  "");
    }
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

// A file that cannot be had or written: exit code 0, one line that names the file and
// gives the reason, and the folder as the run found it: an earlier pair byte for byte,
// no file of the run's own left behind.
TEST_F(ProgramTest, FilesThatCannotBeMadeEndWithZeroAndOneLine) {
    ASSERT_EQ(RunIn(folder).exitCode, 1);
    const std::string earlier[] = {ReadBytes(folder / "solution.txt"),
                                   ReadBytes(folder / "masque.txt")};
    int held = -1; // a descriptor that holds a file locked, as another run would
    const auto hold = [&held](const fs::path& file) {
        held = open(file.c_str(), O_RDONLY | O_CLOEXEC);
        flock(held, LOCK_EX | LOCK_NB);
    };
    std::string notTried; // the last case's reason, where it cannot be arranged
    const struct {
        const char* what;
        bool earlierPair;
        std::function<void(const fs::path&)> prepare;
        const char* file;
        const char* step;
        const char* reason;
    } cases[] = {
        {"solution.txt a folder", false,
         [](const fs::path& f) { fs::create_directory(f / "solution.txt"); }, "solution.txt",
         "create", std::strerror(EISDIR)},
        {"masque.txt a folder", true,
         [](const fs::path& f) {
             fs::remove(f / "masque.txt");
             fs::create_directory(f / "masque.txt");
         },
         "masque.txt", "create", std::strerror(EISDIR)},
        {"solution.txt a link into a missing folder", false,
         [](const fs::path& f) { fs::create_symlink("missing/solution.txt", f / "solution.txt"); },
         "solution.txt", "create", std::strerror(ENOENT)},
        {"solution.txt on a full device", false,
         [](const fs::path& f) { fs::create_symlink("/dev/full", f / "solution.txt"); },
         "solution.txt", "write", std::strerror(ENOSPC)},
        {"masque.txt on a full device", false,
         [](const fs::path& f) { fs::create_symlink("/dev/full", f / "masque.txt"); }, "masque.txt",
         "write", std::strerror(ENOSPC)},
        {"solution.txt held by another run", true,
         [&](const fs::path& f) { hold(f / "solution.txt"); }, "solution.txt", "open",
         "in use by another program"},
        {"masque.txt held by another run", true, [&](const fs::path& f) { hold(f / "masque.txt"); },
         "masque.txt", "open", "in use by another program"},
        {"masque.txt read-only", true,
         [](const fs::path& f) { fs::permissions(f / "masque.txt", fs::perms::owner_read); },
         "masque.txt", "create", std::strerror(EACCES)},
        // Last: where it cannot be arranged, the table ends there.
        {"a full file system", false,
         [&](const fs::path& f) {
             if (mount("tmpfs", f.c_str(), "tmpfs", 0, "size=16k") != 0) {
                 notTried = std::string("no tmpfs mounted: ") + std::strerror(errno);
             }
             std::ofstream(f / "filler") << std::string(16 * 1024, 'x');
         },
         "solution.txt", "write", std::strerror(ENOSPC)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (c.earlierPair) {
            std::ofstream(folder / "solution.txt") << earlier[0];
            std::ofstream(folder / "masque.txt") << earlier[1];
        }
        c.prepare(folder);
        if (!notTried.empty()) {
            break;
        }
        const auto before = Contents(folder);
        const ProgramRun run = RunIn(folder);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.errors, std::string("korvane: ") + c.file + ": cannot " + c.step +
                                  " the file: " + c.reason + "\n");
        EXPECT_EQ(Contents(folder), before);
        umount2(folder.c_str(), MNT_DETACH); // the full file system's, if any
        close(held);
        held = -1;
    }
    if (!notTried.empty()) {
        GTEST_SKIP() << "not tried: a full file system: " << notTried;
    }
}

// Four runs at once in one folder, twenty times, from no files and from an earlier
// pair: each run writes both files, or neither when it finds one held and says so;
// every round leaves a matching pair and nothing else.
TEST_F(ProgramTest, RunsAtOnceLeaveAMatchingPair) {
    const auto errors = [this](int i) { return folder.string() + std::to_string(i); };
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        if (round % 2 == 0) {
            fs::remove_all(folder);
            fs::create_directories(folder);
        }
        pid_t runs[4];
        for (int i = 0; i < 4; ++i) {
            runs[i] = Start(folder, errors(i));
        }
        for (int i = 0; i < 4; ++i) {
            const ProgramRun run = Finish(runs[i], errors(i));
            EXPECT_TRUE(run.exitCode == 1 || run.errors.ends_with(": in use by another program\n"))
                << run.exitCode << " " << run.errors;
        }
        EXPECT_EQ(Contents(folder).size(), 2u);
        EXPECT_EQ(check::judgePuzzleFiles(ReadBytes(folder / "solution.txt"),
                                          ReadBytes(folder / "masque.txt")),
                  "");
    }
}

} // namespace
