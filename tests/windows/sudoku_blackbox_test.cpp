// sudoku.exe as a person meets it: a copy of the program in its own folder with
// grille.txt beside it, started from another folder.
#include "GridFiles.h"
#include "GrilleText.h"
#include "process_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace windows_test;

namespace {

constexpr DWORD kRunMs = 60000;
constexpr DWORD kUiMs = 10000;

// The example grille.txt of the releases: a board that is hard for the solver's
// search order (several hundred thousand steps).
std::string GrilleBytes() {
    return check::grilleBytes(*check::boardFromText(grids::HardBoards().front().puzzle));
}

// Copies sudoku.exe into folder and writes grille.txt beside it; the copy's path.
std::optional<std::string> PlaceProgram(const std::string& folder) {
    const std::string program = folder + "\\sudoku.exe";
    if (!CopyFileA(NativePath(SUDOKU_EXE).c_str(), program.c_str(), FALSE)) {
        return std::nullopt;
    }
    WriteBytes(folder + "\\grille.txt", GrilleBytes());
    return program;
}

// A program folder holding a copy of sudoku.exe and grille.txt.
struct ProgramFolder {
    ScratchFolder folder;
    std::optional<std::string> placed = PlaceProgram(folder.Text());
    bool copied = placed.has_value();
    std::string program = placed.value_or("");
};

TEST(SudokuRun, SolvesTheGrilleBesideTheProgramFromAnotherFolder) {
    ProgramFolder programFolder;
    ASSERT_TRUE(programFolder.copied);
    ScratchFolder elsewhere;

    ChildProcess sudoku(programFolder.program, elsewhere.Text());
    ASSERT_TRUE(sudoku.Started());
    bool windowSeen = false;
    const DWORD start = GetTickCount();
    while (sudoku.Running() && GetTickCount() - start < kRunMs) {
        windowSeen = windowSeen || !TopLevelWindows(sudoku.ProcessId(), nullptr, true).empty();
        sudoku.Pause(5);
    }
    EXPECT_EQ(sudoku.WaitForExit(kUiMs), std::optional<DWORD>(0));
    EXPECT_FALSE(windowSeen) << "a normal run showed a window";
    EXPECT_EQ(ReadBytes(programFolder.folder.File("solution.txt")),
              check::solutionBytes(*check::boardFromText(grids::HardBoards().front().solved)));
    EXPECT_FALSE(ReadBytes(elsewhere.File("solution.txt")));
    // The puzzle file is only read.
    EXPECT_EQ(ReadBytes(programFolder.folder.File("grille.txt")), GrilleBytes());
}

// True when something stands under the name (a file, a folder, a link to a device).
bool Stands(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

// The save fails: solution.txt a folder (it cannot be created), or under Wine the Linux
// device that is always full (it cannot be written), or a full file system where root
// may mount one under Wine (it is created and cannot be written). The box shows the
// error's number and text, the run ends with code 2, and what stood under the name
// stays as it was: nothing where nothing stood (the file that the save made is gone).
TEST(SudokuRun, ReportsAFailedSaveThenEndsWithCodeTwo) {
    ProgramFolder programFolder;
    ASSERT_TRUE(programFolder.copied);
    ASSERT_TRUE(CreateDirectoryA(programFolder.folder.File("solution.txt").c_str(), nullptr));
    const auto fullDevice = PlaceProgram(NativePath(SUDOKU_FULL_DEVICE_FOLDER));
    ASSERT_TRUE(fullDevice);
    // The system's texts, Wine's or else Windows' own.
    constexpr const char* kDenied[] = {"Erreur 5 (Access denied.)", "Erreur 5 (Access is denied.)"};
    constexpr const char* kFull[] = {"Erreur 112 (Disk full.)",
                                     "Erreur 112 (There is not enough space on the disk.)"};
    std::vector<std::pair<std::string, const char* const*>> runs = {
        {programFolder.program, kDenied}, {*fullDevice, kFull}};
    const FullFileSystem full(BUILD_FOLDER "/full-file-system", SUDOKU_EXE);
    if (full.Mounted()) {
        runs.emplace_back(NativePath(BUILD_FOLDER "/full-file-system/sudoku.exe"), kFull);
    }

    for (const auto& [program, texts] : runs) {
        SCOPED_TRACE(program);
        const std::string solution = program.substr(0, program.size() - 10) + "solution.txt";
        const bool stood = Stands(solution);
        ScratchFolder elsewhere;
        ChildProcess sudoku(program, elsewhere.Text());
        ASSERT_TRUE(sudoku.Started());
        const auto box = WaitForMessageBox(sudoku, kRunMs);
        ASSERT_TRUE(box) << "no message box; exit code "
                         << sudoku.WaitForExit(kUiMs).value_or(0xFFFFFFFF);
        EXPECT_EQ(box->caption, "Sauve_Grille");
        EXPECT_TRUE(box->text == texts[0] || box->text == texts[1]) << box->text;
        EXPECT_NE(GetDlgItem(box->box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box->box, IDCANCEL), nullptr);
        // The box is all that shows: the form stays hidden.
        EXPECT_EQ(TopLevelWindows(sudoku.ProcessId(), nullptr, true), std::vector<HWND>{box->box});

        ASSERT_TRUE(PressOk(sudoku, box->box, kUiMs));
        EXPECT_EQ(sudoku.WaitForExit(kUiMs), std::optional<DWORD>(2));
        EXPECT_EQ(Stands(solution), stood);
    }
    if (!full.Mounted()) {
        GTEST_SKIP() << "not tried: a full file system: none could be mounted";
    }
}

// The program copied into a folder whose name lies outside the ANSI code page of a
// Western system finds its grille.txt and writes solution.txt beside it.
TEST(SudokuRun, SolvesInAFolderNamedOutsideTheAnsiCodePage) {
    ScratchFolder base;
    const std::filesystem::path folder = base.Path() / L"Судоку";
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::filesystem::path program = folder / L"sudoku.exe";
    ASSERT_TRUE(
        CopyFileW(std::filesystem::path(NativePath(SUDOKU_EXE)).c_str(), program.c_str(), FALSE));
    std::ofstream(folder / L"grille.txt", std::ios::binary) << GrilleBytes();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    const std::wstring current = base.Path().wstring();
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, current.c_str(), &startup, &info));
    const DWORD waited = WaitForSingleObject(info.hProcess, kRunMs);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(info.hProcess, &code);
    if (waited != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 99);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(code, 0u);
    std::ifstream in(folder / L"solution.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              check::solutionBytes(*check::boardFromText(grids::HardBoards().front().solved)));
}

} // namespace
