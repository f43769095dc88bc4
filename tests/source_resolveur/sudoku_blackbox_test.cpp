// The built program, run as a user would: copied into a scratch folder with its
// grille.txt, started from another current folder.
#include "GrilleText.h"
#include "TestBoards.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

// Without a grille.txt it can read, the run solves the empty board, silently; a
// grille.txt that never ends a line is read no further than a bound.
TEST_F(SudokuProgram, WithoutAReadableGrilleWritesTheReferenceBoardBesideItself) {
    elsewhere_.Write("grille.txt", GrilleFile(std::string(81, '1'))); // must not be read
    const struct {
        const char* name;
        void (*prepare)(const std::filesystem::path& grille);
    } cases[] = {
        {"no grille.txt", [](const std::filesystem::path&) {}},
        {"a folder named grille.txt",
         [](const std::filesystem::path& p) { std::filesystem::create_directory(p); }},
        {"a link to an endless source",
         [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto grille = program_.Path() / "grille.txt";
        std::filesystem::remove_all(grille);
        c.prepare(grille);
        const RunResult r = Run();
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(program_.Read("solution.txt"), SolutionBytes(kReference));
        EXPECT_FALSE(std::filesystem::exists(elsewhere_.Path() / "solution.txt"));
        EXPECT_EQ(r.stderrText, "");
    }
}

TEST_F(SudokuProgram, SolvesTheExampleGrilleBesideItself) {
    program_.Write("grille.txt", check::grilleBytes(check::exampleBoard().puzzle));
    const RunResult r = Run();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(program_.Read("solution.txt"), check::solutionBytes(check::exampleBoard().solved));
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

TEST_F(SudokuProgram, UnwritableSolutionShowsTheMessageAndEndsWithTwo) {
    struct Case {
        const char* name;
        void (*prepare)(const std::filesystem::path&);
        std::string message;
    };
    const Case cases[] = {
        {"a folder named solution.txt",
         [](const std::filesystem::path& p) { std::filesystem::create_directory(p); },
         "Sauve_Grille: Erreur 21 (Is a directory)\n"},
        {"a dangling link into a missing folder",
         [](const std::filesystem::path& p) {
             std::filesystem::create_symlink(p.parent_path() / "absent" / "solution.txt", p);
         },
         "Sauve_Grille: Erreur 2 (No such file or directory)\n"},
        {"a link to a full device",
         [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/full", p); },
         "Sauve_Grille: Erreur 28 (No space left on device)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto target = program_.Path() / "solution.txt";
        std::filesystem::remove_all(target);
        c.prepare(target);
        const RunResult r = Run();
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.stderrText, c.message);
    }
}

} // namespace
