// Charge_Grille (and the reference load of the fuzz target and the stress run) and
// Sauve_Grille on the layouts that matter.
#include "GrilleText.h"
#include "solver_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

using namespace modSudoku;
using solver_test::BoardText;
using solver_test::GrilleFile;
using solver_test::kReference;
using solver_test::ScratchFolder;
using solver_test::SetBoard;
using solver_test::SolutionBytes;
using solver_test::TestForm;

namespace {

// Loads the given grille.txt bytes into a cleared board; returns the board text.
std::string Load(std::string_view bytes) {
    ScratchFolder folder;
    folder.Write("grille.txt", bytes);
    Efface_Grille();
    Charge_Grille(folder.Text());
    return BoardText();
}

// Nine lines built from the reference board with the given separator and line end.
std::string ReferenceFile(char separator, std::string_view lineEnd) {
    std::string text;
    for (int row = 0; row < 9; ++row) {
        for (int x = 0; x < 9; ++x) {
            text += kReference[static_cast<std::size_t>(9 * row + x)];
            if (x < 8) {
                text += separator;
            }
        }
        text += lineEnd;
    }
    return text;
}

// The reference board with only its first n chars kept.
std::string ReferencePrefix(std::size_t n) {
    return std::string(kReference.substr(0, n)) + std::string(81 - n, '0');
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string board;
};

TEST(ChargeGrille, Layouts) {
    const std::string reference(kReference);
    const LoadCase cases[] = {
        {"blanks, CR LF", GrilleFile(kReference), reference},
        {"commas", ReferenceFile(',', "\r\n"), reference},
        {"tabs", ReferenceFile('\t', "\r\n"), reference},
        {"letters", ReferenceFile('x', "\r\n"), reference},
        {"CR only", ReferenceFile(' ', "\r"), reference},
        {"LF only", ReferenceFile(' ', "\n"), reference},
        {"no end after the last line", ReferenceFile(' ', "\r\n").substr(0, 9 * 19 - 2), reference},
        {"extra characters after position 17",
         [] {
             std::string t;
             for (int row = 0; row < 9; ++row) {
                 t += GrilleFile(kReference).substr(static_cast<std::size_t>(19 * row), 17);
                 t += " 7 7 7 and more\r\n";
             }
             return t;
         }(),
         reference},
        {"a trailing empty line", GrilleFile(kReference) + "\r\n", reference},
        {"a tenth line of digits", GrilleFile(kReference) + "1 1 1 1 1 1 1 1 1\r\n", reference},
        {"five lines", GrilleFile(kReference).substr(0, 5 * 19), ReferencePrefix(45)},
        {"first line '5 3'", "5 3\r\n" + GrilleFile(kReference).substr(19),
         "53" + std::string(79, '0')},
        {"a blank at a value position", "1 2 3   5 6 7 8 9\r\n" + GrilleFile(kReference).substr(19),
         "123" + std::string(78, '0')},
        {"a letter at a value position",
         GrilleFile(kReference).substr(0, 19) + "6 4 a 9 7 8 5 3 1\r\n",
         reference.substr(0, 11) + std::string(70, '0')},
        {"an empty line in the middle",
         GrilleFile(kReference).substr(0, 38) + "\r\n" + GrilleFile(kReference).substr(38),
         ReferencePrefix(18)},
        {"a byte-order mark", "\xEF\xBB\xBF" + GrilleFile(kReference), std::string(81, '0')},
        {"one value per line", SolutionBytes(kReference), "9" + std::string(80, '0')},
        {"one value per line, LF",
         [] {
             std::string t;
             for (char c : kReference) {
                 t += c;
                 t += '\n';
             }
             return t;
         }(),
         "9" + std::string(80, '0')},
        {"empty file", "", std::string(81, '0')},
        {"a first line far longer than any grid's",
         std::string("1 2 3 4 5 6 7 8 9") + std::string(100000, ' ') + "\r\n" +
             GrilleFile(kReference).substr(19),
         std::string(81, '0')},
        {"zeros stay empty", std::string("0 0 0 0 0 0 0 0 0\r\n") + "1 2 3 4 5 6 7 8 9\r\n",
         std::string(9, '0') + "123456789" + std::string(63, '0')},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(c.bytes), c.board);
        // The reference load that the fuzz target and the stress run judge by.
        EXPECT_EQ(check::toText(check::loadedGrille(c.bytes)), c.board);
    }
}

TEST(ChargeGrille, MissingFileLeavesTheBoardAsItWas) {
    ScratchFolder folder;
    SetBoard(kReference);
    Charge_Grille(folder.Text());
    EXPECT_EQ(BoardText(), kReference);
}

TEST(ChargeGrille, DoesNotClearCellsItDoesNotReach) {
    ScratchFolder folder;
    folder.Write("grille.txt", "0 0 0 0 0 0 0 0 1\r\n");
    SetBoard(kReference);
    Charge_Grille(folder.Text());
    EXPECT_EQ(BoardText(), "000000001" + std::string(kReference.substr(9)));
}

TEST(SauveGrille, WritesEightyOneCrLfLinesTopRowFirst) {
    ScratchFolder folder;
    TestForm form;
    Efface_Grille();
    Grille.Pose(0, 8, 4); // first line
    Grille.Pose(8, 0, 7); // last line
    Grille.Pose(1, 8, 2); // second line
    const std::string path = folder.Text() + "/solution.txt";
    ASSERT_TRUE(Sauve_Grille(form, path));
    const std::string bytes = folder.Read("solution.txt");
    ASSERT_EQ(bytes.size(), 243u);
    EXPECT_EQ(bytes.substr(0, 9), "4\r\n2\r\n0\r\n");
    EXPECT_EQ(bytes.substr(240), "7\r\n");
    EXPECT_TRUE(form.Messages().empty());

    SetBoard(kReference);
    ASSERT_TRUE(Sauve_Grille(form, path));
    EXPECT_EQ(folder.Read("solution.txt"), SolutionBytes(kReference));
}

TEST(SauveGrille, ReplacesALongerOldFile) {
    ScratchFolder folder;
    folder.Write("solution.txt", std::string(5000, 'z'));
    TestForm form;
    SetBoard(kReference);
    ASSERT_TRUE(Sauve_Grille(form, folder.Text() + "/solution.txt"));
    EXPECT_EQ(folder.Read("solution.txt"), SolutionBytes(kReference));
}

// Counts, while the box is up, this process's open descriptors of the file that
// solution.txt leads to (POSIX; -1 elsewhere).
class DescriptorCountingForm : public TestForm {
public:
    explicit DescriptorCountingForm(std::filesystem::path file) : file_(std::move(file)) {}
    void ShowMessage(const std::string& text, const std::string& title) override {
        TestForm::ShowMessage(text, title);
#ifndef _WIN32
        openWhileShown = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code ignored;
            if (std::filesystem::read_symlink(entry.path(), ignored) == file_) {
                ++openWhileShown;
            }
        }
#endif
    }
    int openWhileShown = -1;

private:
    std::filesystem::path file_;
};

// Each way the save can fail shows the system's error in the box, with the file
// already closed.
TEST(SauveGrille, FailuresShowTheSystemsErrorWithTheFileClosed) {
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        void (*prepare)(const fs::path& solution);
        fs::path opened; // what an open descriptor would lead to
        const char* posixText;
        const char* windowsStart;
    };
    const Case cases[] = {
        {"a folder named solution.txt", [](const fs::path& p) { fs::create_directory(p); }, "",
         "Erreur 21 (Is a directory)", "Erreur 5 ("},
        {"a missing folder", [](const fs::path&) {}, "", "Erreur 2 (No such file or directory)",
         "Erreur 3 ("},
#ifndef _WIN32
        {"a link to a full device", [](const fs::path& p) { fs::create_symlink("/dev/full", p); },
         "/dev/full", "Erreur 28 (No space left on device)", ""},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const bool missing = std::string(c.name) == "a missing folder";
        const fs::path solution = folder.Path() / (missing ? "absent" : "") / "solution.txt";
        c.prepare(solution);
        DescriptorCountingForm form(c.opened);
        SetBoard(kReference);
        EXPECT_FALSE(Sauve_Grille(form, solution.string()));
        ASSERT_EQ(form.Messages().size(), 1u);
        EXPECT_EQ(form.Messages()[0].title, "Sauve_Grille");
        const std::string& text = form.Messages()[0].text;
#ifdef _WIN32
        EXPECT_EQ(text.rfind(c.windowsStart, 0), 0u) << text;
        EXPECT_EQ(text.back(), ')') << text;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
#else
        EXPECT_EQ(text, c.posixText);
        EXPECT_EQ(form.openWhileShown, 0);
#endif
    }
}

} // namespace
