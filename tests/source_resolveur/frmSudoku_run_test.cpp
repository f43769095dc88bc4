// The run carried by the hidden form, in process, with a scratch program folder.
#include "frmSudoku.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include "message_box_catcher.h"
#endif

using solver_test::GrilleFile;
using solver_test::kReference;
using solver_test::ScratchFolder;
using solver_test::SolutionBytes;
using solver_test::TestForm;

namespace {

// Records the pointer changes and message boxes, with the log text at that moment.
class RecordingForm : public TestForm {
public:
    void SetBusyPointer(bool busy) override {
        TestForm::SetBusyPointer(busy);
        std::string event = busy ? "busy" : "normal";
        event.append(" log=").append(LogText());
        events.push_back(event);
    }
    void ShowMessage(const std::string& text, const std::string& title) override {
        TestForm::ShowMessage(text, title);
        std::string event = "message busy=";
        event.append(BusyPointer() ? "1" : "0");
        events.push_back(event);
    }
    std::vector<std::string> events;
};

const std::string kSolvedLog = "12:34:56 : Début recherche par découpage...\r\n"
                               "12:34:56 : Fin recherche par découpage : 1 itération(s)\r\n"
                               "12:34:56 : Fin recherche par back tracking : 391 itération(s)";

TEST(RunSudoku, WithoutGrilleSolvesTheEmptyBoard) {
    ScratchFolder folder;
    RecordingForm form;
    form.SetProgramFolder(folder.Text());
    form.SetLogText("old text");
    EXPECT_EQ(frmSudoku::RunSudoku(form), frmSudoku::kSortieResolue);
    EXPECT_EQ(folder.Read("solution.txt"), SolutionBytes(kReference));
    EXPECT_EQ(form.LogText(), kSolvedLog);
    // The busy pointer covers the search only: set while the old log still stands,
    // back to normal after the three lines.
    const std::vector<std::string> expected = {"busy log=old text", "normal log=" + kSolvedLog};
    EXPECT_EQ(form.events, expected);
    EXPECT_TRUE(form.Messages().empty());
    EXPECT_EQ(form.Captions()[0], '1');
}

TEST(RunSudoku, TwoRunsWriteTheSameFile) {
    ScratchFolder folder;
    std::string puzzle(kReference);
    for (std::size_t i = 0; i < 81; i += 2) {
        puzzle[i] = '0';
    }
    folder.Write("grille.txt", GrilleFile(puzzle));
    for (int run = 0; run < 2; ++run) {
        TestForm form;
        form.SetProgramFolder(folder.Text());
        EXPECT_EQ(frmSudoku::RunSudoku(form), frmSudoku::kSortieResolue);
        EXPECT_EQ(folder.Read("solution.txt"), SolutionBytes(kReference));
    }
}

TEST(RunSudoku, GridWithoutSolutionIsSavedAsLoaded) {
    ScratchFolder folder;
    std::string puzzle(81, '0');
    puzzle[40] = '3';
    puzzle[44] = '3';
    folder.Write("grille.txt", GrilleFile(puzzle));
    TestForm form;
    form.SetProgramFolder(folder.Text());
    EXPECT_EQ(frmSudoku::RunSudoku(form), frmSudoku::kSortieSansSolution);
    EXPECT_EQ(folder.Read("solution.txt"), SolutionBytes(puzzle));
    EXPECT_NE(form.LogText().find("\r\n12:34:56 : Grille sans solution"), std::string::npos);
    EXPECT_EQ(form.Caption(40), "3");
    EXPECT_EQ(form.Caption(0), " ");
}

// A program folder whose name lies outside the ANSI code page of a Western system:
// its files are still found.
TEST(RunSudoku, FolderNamedOutsideTheAnsiCodePage) {
    ScratchFolder base;
    const std::u8string name = u8"Судоку";
    const std::filesystem::path folder = base.Path() / name;
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    std::string puzzle(kReference);
    puzzle[40] = '0';
    std::ofstream(folder / "grille.txt", std::ios::binary) << GrilleFile(puzzle);
    TestForm form;
    form.SetProgramFolder(base.Text() + "/" + std::string(name.begin(), name.end()));
    EXPECT_EQ(frmSudoku::RunSudoku(form), frmSudoku::kSortieResolue);
    std::ifstream in(folder / "solution.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              SolutionBytes(kReference));
    EXPECT_TRUE(form.Messages().empty());
}

// A form whose platform cannot tell the program folder.
class NoFolderForm : public TestForm {
public:
    std::string ProgramFolder() const override { return {}; }
};

TEST(RunSudoku, UnknownProgramFolderTouchesNoFileAndEndsWithFour) {
    // Without a folder, the paths would be /grille.txt and /solution.txt.
    const std::filesystem::path atRoot = std::filesystem::path("/") / "solution.txt";
    const bool wasThere = std::filesystem::exists(atRoot);
    NoFolderForm form;
    const int code = frmSudoku::RunSudoku(form);
    const bool isThere = std::filesystem::exists(atRoot);
    if (isThere && !wasThere) {
        std::filesystem::remove(atRoot);
    }
    EXPECT_EQ(code, 4);
    EXPECT_EQ(isThere, wasThere) << atRoot;
    ASSERT_EQ(form.Messages().size(), 1u);
    EXPECT_EQ(form.Messages()[0].title, "sudoku");
    EXPECT_EQ(form.Messages()[0].text, "Dossier du programme introuvable");
    // Nothing else of the run took place.
    EXPECT_EQ(form.Caption(0), "");
    EXPECT_EQ(form.LogText(), "");
}

TEST(RunSudoku, SaveFailureShowsTheBoxWithTheNormalPointer) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.Path() / "solution.txt");
    RecordingForm form;
    form.SetProgramFolder(folder.Text());
    EXPECT_EQ(frmSudoku::RunSudoku(form), frmSudoku::kSortieEchecSauvegarde);
    EXPECT_EQ(form.Messages().size(), 1u); // its text: SauveGrille's tests
    ASSERT_EQ(form.events.size(), 3u);
    EXPECT_EQ(form.events[2], "message busy=0");
    EXPECT_EQ(form.Captions()[80], '2') << "the board is still shown after the failed save";
}

// A form whose platform fails at the first thing a run asks of it.
class FailingForm : public TestForm {
public:
    std::string ProgramFolder() const override { throw std::runtime_error("panne de test"); }
};

// An error that escapes the making of the form or the run: the platform reports its
// text, and the program ends with exit code 3.
TEST(Demarre, AnUnexpectedErrorIsReportedAndEndsWithThree) {
    const frmSudoku::FabriqueForme failures[] = {
        []() -> std::unique_ptr<forms::FormRuntime> { throw std::runtime_error("panne de test"); },
        [] { return std::unique_ptr<forms::FormRuntime>(std::make_unique<FailingForm>()); },
    };
    for (const auto& fabrique : failures) {
#ifdef _WIN32
        test_support::MessageBoxCatcher catcher;
        EXPECT_EQ(frmSudoku::Demarre(fabrique), 3);
        ASSERT_EQ(catcher.Boxes().size(), 1u);
        EXPECT_EQ(catcher.Boxes()[0].caption, "sudoku");
        EXPECT_EQ(catcher.Boxes()[0].text, "panne de test");
        EXPECT_TRUE(catcher.Boxes()[0].iconShown);
#else
        testing::internal::CaptureStderr();
        EXPECT_EQ(frmSudoku::Demarre(fabrique), 3);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "sudoku: unexpected error: panne de test\n");
#endif
    }
}

} // namespace
