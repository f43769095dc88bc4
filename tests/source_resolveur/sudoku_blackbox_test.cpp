// The built program, run as a user would: copied into a scratch folder with its
// grille.txt, started from another current folder.
#include "GridFiles.h"
#include "GrilleText.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/mount.h>
#include <sys/wait.h>

using solver_test::GrilleFile;
using solver_test::kReference;
using solver_test::ScratchFolder;
using solver_test::SolutionBytes;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string stderrText;
};

class SudokuProgram : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(SUDOKU_PROGRAM, program_.Path() / "sudoku");
        std::filesystem::permissions(program_.Path() / "sudoku", std::filesystem::perms::owner_all);
    }

    RunResult Run() {
        const std::string errFile = elsewhere_.Text() + "/stderr.txt";
        const std::string command = "cd '" + elsewhere_.Text() + "' && '" + program_.Text() +
                                    "/sudoku' 2>'" + errFile + "' </dev/null";
        const int status = std::system(command.c_str());
        RunResult result;
        if (WIFEXITED(status)) {
            result.exitCode = WEXITSTATUS(status);
        }
        result.stderrText = elsewhere_.Read("stderr.txt");
        return result;
    }

    ScratchFolder program_;
    ScratchFolder elsewhere_;
};

TEST_F(SudokuProgram, SolvesTheExampleGrilleBesideItself) {
    program_.Write("grille.txt", solver_test::GrilleFile(grids::HardBoards().front().puzzle));
    const RunResult r = Run();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(program_.Read("solution.txt"),
              solver_test::SolutionBytes(grids::HardBoards().front().solved));
}

TEST_F(SudokuProgram, GridsWithoutSolutionEndQuicklyWithTheGridAsLoaded) {
    std::string conflicting(81, '0');
    conflicting[0] = '5';
    conflicting[7] = '5';
    std::string fullRowTwice(kReference.substr(0, 9));
    fullRowTwice[1] = '9';
    fullRowTwice += std::string(72, '0');
    std::string clashing(kReference);
    clashing[72] = '0';
    clashing[0] = '1';
    for (const std::string& grid : {conflicting, fullRowTwice, clashing}) {
        SCOPED_TRACE(grid);
        program_.Write("grille.txt", GrilleFile(grid));
        const RunResult r = Run();
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(program_.Read("solution.txt"), SolutionBytes(grid));
    }
}

// A grille.txt that cannot be read (or never ends a line) leaves the empty board to
// solve, silently; a solution.txt that cannot be written shows the save's message and
// ends the run with 2, leaving what stood under that name as it was: nothing when
// nothing stood there (the file that the save created is removed again).
TEST_F(SudokuProgram, FilesThatCannotBeReadOrWritten) {
    namespace fs = std::filesystem;
    elsewhere_.Write("grille.txt", GrilleFile(std::string(81, '1'))); // must not be read
    std::string notTried; // the last case's reason, where it cannot be arranged
    const struct {
        const char* name;
        const char* file;
        std::function<void(const fs::path& file)> prepare;
        int exitCode;
        const char* message;
    } cases[] = {
        {"no grille.txt", "grille.txt", [](const fs::path&) {}, 0, ""},
        {"a folder named grille.txt", "grille.txt",
         [](const fs::path& p) { fs::create_directory(p); }, 0, ""},
        {"grille.txt a link to an endless source", "grille.txt",
         [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, 0, ""},
        {"a folder named solution.txt", "solution.txt",
         [](const fs::path& p) { fs::create_directory(p); }, 2,
         "Sauve_Grille: Erreur 21 (Is a directory)\n"},
        {"solution.txt a dangling link into a missing folder", "solution.txt",
         [](const fs::path& p) { fs::create_symlink(p.parent_path() / "absent" / "x.txt", p); }, 2,
         "Sauve_Grille: Erreur 2 (No such file or directory)\n"},
        {"solution.txt a link to a full device", "solution.txt",
         [](const fs::path& p) { fs::create_symlink("/dev/full", p); }, 2,
         "Sauve_Grille: Erreur 28 (No space left on device)\n"},
        // Last: where it cannot be arranged, the table ends there.
        {"a full file system", "solution.txt",
         [&notTried](const fs::path& p) {
             const std::string size = std::to_string(fs::file_size(SUDOKU_PROGRAM) + 16384);
             if (mount("tmpfs", p.parent_path().c_str(), "tmpfs", 0, ("size=" + size).c_str())) {
                 notTried = std::string("no tmpfs mounted: ") + std::strerror(errno);
             }
             fs::copy_file(SUDOKU_PROGRAM, p.parent_path() / "sudoku",
                           fs::copy_options::overwrite_existing);
             std::ofstream(p.parent_path() / "filler") << std::string(std::stoul(size), 'x');
         },
         2, "Sauve_Grille: Erreur 28 (No space left on device)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(program_.Path() / "grille.txt");
        fs::remove_all(program_.Path() / "solution.txt");
        c.prepare(program_.Path() / c.file);
        if (!notTried.empty()) {
            break;
        }
        const fs::path solution = program_.Path() / "solution.txt";
        const auto before = fs::symlink_status(solution).type();
        const RunResult r = Run();
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.stderrText, c.message);
        if (c.exitCode == 0) {
            EXPECT_EQ(program_.Read("solution.txt"), SolutionBytes(kReference));
        } else {
            EXPECT_EQ(fs::symlink_status(solution).type(), before);
        }
        EXPECT_FALSE(fs::exists(elsewhere_.Path() / "solution.txt"));
        umount2(program_.Path().c_str(), MNT_DETACH); // the full file system's, if any
    }
    if (!notTried.empty()) {
        GTEST_SKIP() << "not tried: a full file system: " << notTried;
    }
}

} // namespace
