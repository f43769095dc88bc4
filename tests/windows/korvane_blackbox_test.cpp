// korvane.exe as a person meets it: a normal run in a folder, and the puzzle window
// that comes up when a file cannot be had or written there.
#include "GrilleText.h"
#include "PuzzleCheck.h"
#include "process_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace windows_test;

namespace {

constexpr DWORD kRunMs = 60000;
constexpr DWORD kUiMs = 10000;
constexpr int kCellFirst = 4000;
constexpr int kSolutionButton = 101;

const std::string& Korvane() {
    static const std::string path = NativePath(KORVANE_EXE);
    return path;
}

int RowOf(int cell) {
    return cell / 9;
}
int ColumnOf(int cell) {
    return cell % 9;
}
int BoxOf(int cell) {
    return (cell / 27) * 3 + (cell % 9) / 3;
}

// True when 81 digits hold 1 to 9 once in every row, column and box.
bool IsCompleteGrid(const std::string& digits) {
    const auto board = check::boardFromText(digits);
    return board && check::isCompleteValid(*board);
}

TEST(KorvaneRun, WritesBothFilesEndsWithCodeOneAndShowsNoWindow) {
    ScratchFolder folder;
    // Longer old files: nothing of them may survive.
    WriteBytes(folder.File("solution.txt"), std::string(1000, 'x'));
    WriteBytes(folder.File("masque.txt"), std::string(500, 'y'));

    ChildProcess korvane(Korvane(), folder.Text());
    ASSERT_TRUE(korvane.Started()) << Korvane();
    bool windowSeen = false;
    const DWORD start = GetTickCount();
    while (korvane.Running() && GetTickCount() - start < kRunMs) {
        windowSeen = windowSeen || !TopLevelWindows(korvane.ProcessId(), nullptr, true).empty();
        korvane.Pause(5);
    }
    EXPECT_EQ(korvane.WaitForExit(kUiMs), std::optional<DWORD>(1));
    EXPECT_FALSE(windowSeen) << "a normal run showed a window";

    const auto solutionBytes = ReadBytes(folder.File("solution.txt"));
    const auto masqueBytes = ReadBytes(folder.File("masque.txt"));
    ASSERT_TRUE(solutionBytes && masqueBytes);
    EXPECT_EQ(check::judgePuzzleFiles(*solutionBytes, *masqueBytes), "");
}

// What stands under a name: its bytes when it is a file on a disk, otherwise what it
// is (a link to a device is not read: it would give bytes for ever).
std::string Standing(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(nothing)";
    }
    const DWORD type = GetFileType(file);
    CloseHandle(file);
    return type == FILE_TYPE_DISK ? ReadBytes(path).value_or("(folder)") : "(device)";
}

// When a file cannot be had or written, the puzzle comes up, neither file has changed
// (an earlier good pair stays byte for byte), the run holds neither while its window is
// up, and no file that the run made is left.
// Under Wine, the Linux device that is always full stands for a full disk.
TEST(KorvaneRun, ShowsThePuzzleAndLeavesTheFilesAsTheyWere) {
    ScratchFolder good;
    ChildProcess goodRun(Korvane(), good.Text());
    ASSERT_EQ(goodRun.WaitForExit(kRunMs), std::optional<DWORD>(1));
    const std::string earlier[] = {*ReadBytes(good.File("solution.txt")),
                                   *ReadBytes(good.File("masque.txt"))};
    HANDLE held = nullptr; // another run's handle on masque.txt
    std::string notTried;  // the cases that cannot be arranged here, and why
    const FullFileSystem full(BUILD_FOLDER "/full-file-system", "");
    const struct {
        const char* what;
        std::string folder; // a fresh one with the earlier pair when empty
        std::function<void(const std::string& folder)> prepare;
        std::string solutionAfter, masqueAfter;
    } cases[] = {
        {"solution.txt on a full device", NativePath(KORVANE_FULL_DEVICE_FOLDER),
         [](const std::string& f) { DeleteFileA((f + "\\masque.txt").c_str()); }, "(device)",
         "(nothing)"},
        {"masque.txt on a full device", NativePath(KORVANE_FULL_MASK_FOLDER),
         [](const std::string& f) { DeleteFileA((f + "\\solution.txt").c_str()); }, "(nothing)",
         "(device)"},
        {"masque.txt a folder", "",
         [](const std::string& f) {
             DeleteFileA((f + "\\masque.txt").c_str());
             CreateDirectoryA((f + "\\masque.txt").c_str(), nullptr);
         },
         earlier[0], "(folder)"},
        {"masque.txt held by another run", "",
         [&held](const std::string& f) {
             held = CreateFileA((f + "\\masque.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
         },
         earlier[0], earlier[1]},
        {"a full file system", NativePath(BUILD_FOLDER "/full-file-system"),
         [&](const std::string&) {
             if (!full.Mounted()) {
                 notTried += "a full file system: none could be mounted. ";
             }
         },
         "(nothing)", "(nothing)"},
        {"masque.txt read-only", "",
         [&notTried](const std::string& f) {
             const std::string masque = f + "\\masque.txt";
             SetFileAttributesA(masque.c_str(), FILE_ATTRIBUTE_READONLY);
             const HANDLE h =
                 CreateFileA(masque.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             if (h != INVALID_HANDLE_VALUE) {
                 CloseHandle(h);
                 notTried += "masque.txt read-only: it does not stop this user (root's override). ";
             }
         },
         earlier[0], earlier[1]},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch;
        const std::string folder = c.folder.empty() ? scratch.Text() : c.folder;
        if (c.folder.empty()) {
            WriteBytes(folder + "\\solution.txt", earlier[0]);
            WriteBytes(folder + "\\masque.txt", earlier[1]);
        }
        const std::size_t notTriedBefore = notTried.size();
        c.prepare(folder);
        if (notTried.size() != notTriedBefore) {
            continue;
        }
        ChildProcess korvane(Korvane(), folder);
        const HWND main = WaitForWindow(korvane, "SudokuClassApp", "KORVANE", kRunMs);
        EXPECT_NE(main, nullptr) << "no KORVANE window came up";
        if (c.solutionAfter == earlier[0]) { // released at once: another program can have it
            const HANDLE free = CreateFileA((folder + "\\solution.txt").c_str(), GENERIC_READ, 0,
                                            nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(free, INVALID_HANDLE_VALUE) << "the run still holds solution.txt";
            CloseHandle(free);
        }
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(korvane.WaitForExit(kUiMs), std::optional<DWORD>(0));
        CloseHandle(std::exchange(held, nullptr));
        SetFileAttributesA((folder + "\\masque.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(Standing(folder + "\\solution.txt"), c.solutionAfter);
        EXPECT_EQ(Standing(folder + "\\masque.txt"), c.masqueAfter);
    }
    if (!notTried.empty()) {
        GTEST_SKIP() << "not tried: " << notTried;
    }
}

TEST(KorvaneRun, RunsAtDifferentTicksWriteDifferentPuzzles) {
    ScratchFolder first;
    ScratchFolder later;
    for (const ScratchFolder* folder : {&first, &later}) {
        ChildProcess korvane(Korvane(), folder->Text());
        ASSERT_TRUE(korvane.Started()) << Korvane();
        ASSERT_EQ(korvane.WaitForExit(kRunMs), std::optional<DWORD>(1));
        // The run took its tick before it ended; the next one takes a later tick.
        const DWORD ended = GetTickCount();
        while (GetTickCount() == ended) {
        }
    }
    const auto solution = ReadBytes(first.File("solution.txt"));
    ASSERT_TRUE(solution && solution->size() == 162);
    EXPECT_NE(ReadBytes(later.File("solution.txt")), solution);
}

// The files of the modules that a program has loaded when its own code is about to
// run: started under the debugging interface, at the loader's first breakpoint (the
// imports loaded, the entry point not yet called), then ended there.
std::vector<std::wstring> ModulesAtStart(const std::string& program, const std::string& folder) {
    std::vector<std::wstring> modules;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, folder.c_str(), &startup, &info)) {
        return modules;
    }
    DEBUG_EVENT event{};
    bool stopped = false;
    while (!stopped && WaitForDebugEvent(&event, kRunMs)) {
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) {
                const HANDLE snapshot =
                    CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, info.dwProcessId);
                MODULEENTRY32W module{};
                module.dwSize = sizeof module;
                for (BOOL more = Module32FirstW(snapshot, &module); more;
                     more = Module32NextW(snapshot, &module)) {
                    modules.emplace_back(module.szExePath);
                }
                CloseHandle(snapshot);
                stopped = true;
            } else {
                status = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            stopped = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    // Ended under the debugger: its last events are let through.
    TerminateProcess(info.hProcess, 99);
    while (event.dwDebugEventCode != EXIT_PROCESS_DEBUG_EVENT &&
           WaitForDebugEvent(&event, kRunMs)) {
        if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            CloseHandle(event.u.LoadDll.hFile);
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return modules;
}

// The manifest asks for version 6 of the common controls, which draws the Solution
// button with the system's visual style. Windows XP gives a program that version only
// if the library is loaded before the program creates its windows: korvane initialises
// it, so the loader loads it with the program. Side by side, version 6 lies in the
// folder of its assembly, named after it on every Windows (and under Wine, whose one
// library serves both versions with the file version of 5).
TEST(KorvaneStart, LoadsVersionSixOfTheCommonControlsWithTheProgram) {
    ScratchFolder folder;
    std::vector<std::wstring> commonControls;
    for (std::wstring file : ModulesAtStart(Korvane(), folder.Text())) {
        CharLowerW(file.data());
        if (std::wstring_view(file).ends_with(L"\\comctl32.dll")) {
            commonControls.push_back(file);
        }
    }
    ASSERT_EQ(commonControls.size(), 1u) << "comctl32.dll loaded with korvane.exe";
    EXPECT_NE(commonControls[0].find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::wstring::npos)
        << std::string(commonControls[0].begin(), commonControls[0].end());
}

// The interactive window, with solution.txt made impossible to create.
class KorvaneWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA(folder_.File("solution.txt").c_str(), nullptr));
        korvane_.emplace(Korvane(), folder_.Text());
        ASSERT_TRUE(korvane_->Started()) << Korvane();
        main_ = WaitForWindow(*korvane_, "SudokuClassApp", "KORVANE", kRunMs);
        ASSERT_NE(main_, nullptr) << "no KORVANE window came up";
        for (int cell = 0; cell < 81; ++cell) {
            cells_[cell] = GetDlgItem(main_, kCellFirst + cell);
            ASSERT_NE(cells_[cell], nullptr) << "cell " << cell;
            const std::string text = WindowText(cells_[cell]);
            grid_[cell] = text.size() == 1 && text[0] >= '1' && text[0] <= '9' ? text[0] - '0' : 0;
        }
    }

    void TearDown() override {
        if (korvane_ && korvane_->Running() && main_ != nullptr) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            korvane_->WaitForExit(kUiMs);
        }
    }

    bool Given(int cell) const {
        return (GetWindowLongA(cells_[cell], GWL_STYLE) & ES_READONLY) != 0;
    }

    // True when digit stands in the row, column or box of cell (as the model knows it).
    bool InUnit(int cell, int digit, const std::function<int(int)>& unitOf) const {
        for (int other = 0; other < 81; ++other) {
            if (unitOf(other) == unitOf(cell) && grid_[other] == digit) {
                return true;
            }
        }
        return false;
    }

    // An empty editable cell and a digit that meets the wanted unit first.
    std::pair<int, int> FindEntry(const std::function<bool(int, int)>& wanted) const {
        for (int cell = 0; cell < 81; ++cell) {
            if (Given(cell) || grid_[cell] != 0) {
                continue;
            }
            for (int digit = 1; digit <= 9; ++digit) {
                if (wanted(cell, digit)) {
                    return {cell, digit};
                }
            }
        }
        return {-1, 0};
    }

    // Types one character into a cell and waits for its handling to finish.
    bool TypeSynchronously(int cell, char c) {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutA(cells_[cell], WM_CHAR, static_cast<unsigned char>(c), 0,
                                   SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    }

    // Polls until done() holds or the time runs out; done() at the end.
    bool Until(const std::function<bool()>& done, DWORD timeoutMs = kUiMs) const {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < timeoutMs) {
            korvane_->Pause(10);
        }
        return done();
    }

    // A click into the cell, as a person's, again after a second without the focus
    // (a click on a window just shown has been seen to go astray under Wine).
    bool ClickInto(int cell) {
        const auto focused = [&] { return FocusedWindow() == cells_[cell]; };
        const DWORD start = GetTickCount();
        do {
            ClickMiddleOf(cells_[cell]);
        } while (!Until(focused, 1000) && GetTickCount() - start < kUiMs);
        return focused();
    }

    bool BoxShown() const {
        return !TopLevelWindows(korvane_->ProcessId(), "#32770", true).empty();
    }

    HWND FocusedWindow() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(korvane_->ThreadId(), &info);
        return info.hwndFocus;
    }

    ScratchFolder folder_;
    std::optional<ChildProcess> korvane_;
    HWND main_ = nullptr;
    std::array<HWND, 81> cells_{};
    std::array<int, 81> grid_{};
};

// The window's class, sizes and places are checked against the real system by the
// window tests (tests/korvane/window); here, that the program shows the puzzle.
TEST_F(KorvaneWindow, ShowsThePuzzleWhenSolutionTxtCannotBeCreated) {
    EXPECT_TRUE(IsWindowVisible(main_));
    // masque.txt is not attempted once solution.txt has failed.
    EXPECT_FALSE(ReadBytes(folder_.File("masque.txt")));

    int givens = 0;
    for (int cell = 0; cell < 81; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        EXPECT_EQ(ClassOf(cells_[cell]), "Edit");
        const std::string text = WindowText(cells_[cell]);
        if (Given(cell)) {
            ++givens;
            EXPECT_EQ(text.size(), 1u);
            EXPECT_NE(grid_[cell], 0) << text;
        } else {
            EXPECT_EQ(text, "");
            DWORD_PTR limit = 0;
            SendMessageTimeoutA(cells_[cell], EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, 5000,
                                &limit);
            EXPECT_EQ(limit, 1u);
        }
    }
    EXPECT_GE(givens, 28);
    EXPECT_LT(givens, 81);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main_, kSolutionButton)));

    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(korvane_->WaitForExit(kUiMs), std::optional<DWORD>(0));
}

TEST_F(KorvaneWindow, ReportsEachKindOfDuplicateAndGivesTheFocusBack) {
    const auto inRow = [this](int cell, int digit) { return InUnit(cell, digit, RowOf); };
    const auto inColumn = [this](int cell, int digit) { return InUnit(cell, digit, ColumnOf); };
    const auto inBox = [this](int cell, int digit) { return InUnit(cell, digit, BoxOf); };
    struct Case {
        const char* unit;
        std::function<bool(int, int)> wanted;
        std::string text; // code page 1252 bytes, as the box holds them
    };
    const std::vector<Case> cases = {
        {"row", inRow, "Doublons sur la meme ligne"},
        {"column", [&](int c, int d) { return !inRow(c, d) && inColumn(c, d); },
         "Doublons sur la m\xEA"
         "me colonne"},
        {"box", [&](int c, int d) { return !inRow(c, d) && !inColumn(c, d) && inBox(c, d); },
         "Doublons dans le carr\xE9"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.unit);
        const auto [cell, digit] = FindEntry(each.wanted);
        ASSERT_GE(cell, 0) << "no cell in this puzzle gives that duplicate";
        // As a person does: a click into the cell (the window is then the active one,
        // to which the system gives the activation back when the box closes), a digit.
        ASSERT_TRUE(ClickInto(cell)) << "the click gave no focus";
        PostMessageA(cells_[cell], WM_CHAR, '0' + digit, 0);
        const auto box = WaitForMessageBox(*korvane_, kUiMs);
        ASSERT_TRUE(box) << "no message box for cell " << cell << " digit " << digit;
        EXPECT_EQ(box->caption, "Doublons");
        EXPECT_EQ(box->text, each.text);
        EXPECT_EQ(GetWindow(box->box, GW_OWNER), main_);
        EXPECT_NE(GetDlgItem(box->box, IDOK), nullptr);
        EXPECT_EQ(GetDlgItem(box->box, IDCANCEL), nullptr);
        ASSERT_TRUE(PressOk(*korvane_, box->box, kUiMs));
        // The digit stays, and the focus comes back to the cell.
        Until([&] { return FocusedWindow() == cells_[cell]; });
        EXPECT_EQ(FocusedWindow(), cells_[cell]);
        EXPECT_EQ(WindowText(cells_[cell]), std::string(1, static_cast<char>('0' + digit)));
        grid_[cell] = digit;
    }

    // A digit free in its row, column and box: accepted without a word; then deleted.
    const auto [cell, digit] =
        FindEntry([&](int c, int d) { return !inRow(c, d) && !inColumn(c, d) && !inBox(c, d); });
    ASSERT_GE(cell, 0);
    ASSERT_TRUE(TypeSynchronously(cell, static_cast<char>('0' + digit))) << "the entry hung";
    EXPECT_TRUE(TopLevelWindows(korvane_->ProcessId(), "#32770", false).empty());
    EXPECT_EQ(WindowText(cells_[cell]), std::string(1, static_cast<char>('0' + digit)));
    ASSERT_TRUE(TypeSynchronously(cell, '\b'));
    EXPECT_EQ(WindowText(cells_[cell]), "");
    // Only digits can be typed.
    ASSERT_TRUE(TypeSynchronously(cell, 'x'));
    EXPECT_EQ(WindowText(cells_[cell]), "");
    EXPECT_TRUE(TopLevelWindows(korvane_->ProcessId(), "#32770", false).empty());

    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(korvane_->WaitForExit(kUiMs), std::optional<DWORD>(0));
}

// Keys typed as a person types them, through the system's input path: a second
// digit in a cell that holds one is refused by the one-character limit and must
// change nothing and bring up no warning; the cell's own digit typed over it
// once selected is an entry again, which meets the cell itself in its row.
TEST_F(KorvaneWindow, RealKeysARefusedDigitChangesNothingARetypedOneIsChecked) {
    const auto [cell, digit] = FindEntry([this](int c, int d) {
        return !InUnit(c, d, RowOf) && !InUnit(c, d, ColumnOf) && !InUnit(c, d, BoxOf);
    });
    ASSERT_GE(cell, 0);
    const std::string text(1, static_cast<char>('0' + digit));
    const WORD key = static_cast<WORD>('0' + digit);
    const WORD otherKey = digit == 9 ? '1' : '9';

    ASSERT_TRUE(ClickInto(cell)) << "the click gave no focus";
    PressKeys({{key}});
    ASSERT_TRUE(Until([&] { return WindowText(cells_[cell]) == text; }))
        << "the digit did not go in";
    // The refused key, then a backspace, whose effect tells that the refused key
    // has been handled (unless a warning came up and took the keys).
    PressKeys({{otherKey}, {VK_BACK}});
    EXPECT_TRUE(Until([&] { return BoxShown() || WindowText(cells_[cell]).empty(); }));
    if (const auto box = BoxShown() ? WaitForMessageBox(*korvane_, kUiMs) : std::nullopt) {
        ADD_FAILURE() << "the refused key brought up \"" << box->text << "\"";
        PressOk(*korvane_, box->box, kUiMs);
    }
    EXPECT_EQ(WindowText(cells_[cell]), "");

    // The digit again, selected with shift and Home, and typed over itself.
    PressKeys({{key}, {VK_HOME, true}, {key}});
    const auto box = WaitForMessageBox(*korvane_, kUiMs);
    ASSERT_TRUE(box) << "no warning for the digit typed over itself";
    EXPECT_EQ(box->caption, "Doublons");
    EXPECT_EQ(box->text, "Doublons sur la meme ligne");
    ASSERT_TRUE(PressOk(*korvane_, box->box, kUiMs));
    EXPECT_EQ(WindowText(cells_[cell]), text);
}

// Pixels of the screen inside a rectangle (screen coordinates), as 0x00RRGGBB.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& area)
        : left_(area.left), top_(area.top), width_(area.right - area.left),
          height_(area.bottom - area.top), pixels_(static_cast<std::size_t>(width_ * height_)) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, left_, top_, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const DWORD*>(bits);
        pixels_.assign(source, source + pixels_.size());
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    // The colour at a screen point, as a COLORREF.
    COLORREF At(int x, int y) const {
        const DWORD p = pixels_[static_cast<std::size_t>((y - top_) * width_ + (x - left_))];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    bool AnyInside(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    int left_, top_, width_, height_;
    std::vector<DWORD> pixels_;
};

std::string ColourText(COLORREF c) {
    char text[32];
    wsprintfA(text, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// Checks the colours of the 81 cells of the solution window; empty when they are right.
std::string SolutionColourFault(HWND solution, const std::array<bool, 81>& hidden) {
    RECT client{};
    GetClientRect(solution, &client);
    MapWindowPoints(solution, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const ScreenPixels screen(client);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int cell = 0; cell < 81; ++cell) {
        RECT r{};
        GetWindowRect(GetDlgItem(solution, kCellFirst + cell), &r);
        // Inside the border, away from the centred digit.
        const COLORREF background = screen.At(r.left + 3, r.top + 3);
        const RECT inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        if (hidden[cell]) {
            if (background != white) {
                return "hidden cell " + std::to_string(cell) + " background " +
                       ColourText(background);
            }
            if (!screen.AnyInside(inner, black)) {
                return "hidden cell " + std::to_string(cell) + " has no black digit";
            }
        } else if (background != face) {
            return "given cell " + std::to_string(cell) + " background " + ColourText(background) +
                   ", button face " + ColourText(face);
        }
    }
    return {};
}

TEST_F(KorvaneWindow, SolutionButtonOpensOneSolutionWindowDrawnInItsColours) {
    std::array<bool, 81> hidden{};
    for (int cell = 0; cell < 81; ++cell) {
        hidden[cell] = !Given(cell);
    }
    HWND button = GetDlgItem(main_, kSolutionButton);
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
    const auto windows = TopLevelWindows(korvane_->ProcessId(), "SudokuSolutionClass", false);
    ASSERT_EQ(windows.size(), 1u);
    HWND solution = windows[0];
    EXPECT_TRUE(IsWindowVisible(solution));
    EXPECT_EQ(WindowText(solution), "Solution");

    std::string digits;
    for (int cell = 0; cell < 81; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        HWND text = GetDlgItem(solution, kCellFirst + cell);
        ASSERT_NE(text, nullptr);
        const std::string value = WindowText(text);
        ASSERT_EQ(value.size(), 1u);
        digits += value;
        if (!hidden[cell]) {
            EXPECT_EQ(value[0] - '0', grid_[cell]);
        }
    }
    EXPECT_TRUE(IsCompleteGrid(digits)) << digits;

    // The window paints soon after it appears: poll until its colours are right.
    std::string fault = SolutionColourFault(solution, hidden);
    const DWORD start = GetTickCount();
    while (!fault.empty() && GetTickCount() - start < kUiMs) {
        korvane_->Pause(20);
        fault = SolutionColourFault(solution, hidden);
    }
    EXPECT_EQ(fault, "");

    // A second press opens nothing.
    ASSERT_TRUE(SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
    EXPECT_EQ(TopLevelWindows(korvane_->ProcessId(), "SudokuSolutionClass", false),
              std::vector<HWND>{solution});

    // Closing the main window ends the program, the solution window with it.
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(korvane_->WaitForExit(kUiMs), std::optional<DWORD>(0));
}

} // namespace
