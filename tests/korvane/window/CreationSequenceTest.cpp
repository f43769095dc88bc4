// The main window's creation: the placeholder cells, the Solution button, the
// generated puzzle in the cells and in playerGrid and puzzleGrid.
#include "MainWindowFixture.h"

#include <string>
#include <vector>

namespace {

constexpr DWORD kGivenStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_READONLY | ES_CENTER;
constexpr DWORD kHiddenStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_CENTER;

int Givens() {
    int n = 0;
    for (auto m : puzzleBuilder.clueMask) {
        n += m == 0 ? 1 : 0;
    }
    return n;
}

TEST_F(MainWindowTest, MainWindowHasItsClassTitleStyleAndSize) {
    EXPECT_EQ(ClassOf(mainWindow), "SudokuClassApp");
    EXPECT_EQ(TextOf(mainWindow), "KORVANE");
    ASSERT_FALSE(recorder->created.empty());
    const CreatedWindow& first = recorder->created.front();
    EXPECT_EQ(first.hwnd, mainWindow);
    EXPECT_EQ(first.style,
              static_cast<DWORD>(WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    // The system adds the window edge of a framed window to the 0 asked for.
    EXPECT_EQ(first.exStyle, static_cast<DWORD>(WS_EX_WINDOWEDGE));
    RECT r{};
    GetWindowRect(mainWindow, &r);
    EXPECT_EQ(r.right - r.left, 520);
    EXPECT_EQ(r.bottom - r.top, 325);
}

TEST_F(MainWindowTest, PlaceholderCellsThenButtonThenRebuiltCells) {
    // The system may create windows of its own; only the main window's children count.
    std::vector<CreatedWindow> children;
    for (const CreatedWindow& w : recorder->created) {
        if (w.parent == mainWindow && (w.style & WS_CHILD)) {
            children.push_back(w);
        }
    }
    ASSERT_EQ(children.size(), 81u + 1u + 81u);
    for (int i = 0; i < 81; ++i) {
        SCOPED_TRACE(i);
        const CreatedWindow& placeholder = children[i];
        EXPECT_EQ(placeholder.className, "Edit");
        EXPECT_EQ(placeholder.id, 4000 + i);
        EXPECT_EQ(placeholder.style, kGivenStyle);
        EXPECT_EQ(placeholder.title, "");
        const CreatedWindow& rebuilt = children[82 + i];
        EXPECT_EQ(rebuilt.id, 4000 + i);
        EXPECT_EQ(rebuilt.style, puzzleBuilder.clueMask[i] == 0 ? kGivenStyle : kHiddenStyle);
        EXPECT_EQ(rebuilt.parent, mainWindow);
        EXPECT_EQ(rebuilt.exStyle, 0u);
    }
    const CreatedWindow& button = children[81];
    EXPECT_EQ(button.className, "Button");
    EXPECT_EQ(button.id, 101);
    EXPECT_EQ(button.title, "Solution");
    EXPECT_EQ(button.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_DISABLED));
}

TEST_F(MainWindowTest, CellsShowThePuzzleAtTheirPlaces) {
    EXPECT_GE(Givens(), 28);
    for (int i = 0; i < 81; ++i) {
        SCOPED_TRACE(i);
        HWND c = cell(i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(ClassOf(c), "Edit");
        EXPECT_EQ(GetWindowLongA(c, GWL_ID), 4000 + i);
        bool given = puzzleBuilder.clueMask[i] == 0;
        EXPECT_EQ((GetWindowLongA(c, GWL_STYLE) & ES_READONLY) != 0, given);
        EXPECT_EQ(TextOf(c), given ? std::to_string(puzzleBuilder.solution[i]) : "");
        LRESULT limit = SendMessageA(c, EM_GETLIMITTEXT, 0, 0);
        if (given) {
            EXPECT_NE(limit, 1);
        } else {
            EXPECT_EQ(limit, 1);
        }
        int row = i / 9;
        int column = i % 9;
        RECT r = RectInParent(c);
        EXPECT_EQ(r.left, 30 * column + 10);
        EXPECT_EQ(r.top, 30 * row + 10);
        EXPECT_EQ(r.right - r.left, column % 3 == 2 ? 29 : 31);
        EXPECT_EQ(r.bottom - r.top, row % 3 == 2 ? 29 : 31);
        // The cells keep the system font.
        EXPECT_EQ(SendMessageA(c, WM_GETFONT, 0, 0), 0);
    }
    // The cells span the pixels 10 to 278 both ways.
    RECT last = RectInParent(cell(80));
    EXPECT_EQ(last.right - 1, 278);
    EXPECT_EQ(last.bottom - 1, 278);
}

TEST_F(MainWindowTest, SolutionButtonIsEnabledWithTheDefaultGuiFont) {
    HWND button = GetDlgItem(mainWindow, 101);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ClassOf(button), "Button");
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    RECT r = RectInParent(button);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 180);
    EXPECT_EQ(r.bottom - r.top, 24);
}

TEST_F(MainWindowTest, GridsHoldTheGivensAndTheBuildNotifiedNothing) {
    for (int i = 0; i < 81; ++i) {
        SCOPED_TRACE(i);
        CellValue given = puzzleBuilder.clueMask[i] == 0 ? puzzleBuilder.solution[i] : 0;
        EXPECT_EQ(playerGrid[i], given);
        EXPECT_EQ(puzzleGrid[i], given);
        EXPECT_GE(puzzleBuilder.solution[i], 1);
        EXPECT_LE(puzzleBuilder.solution[i], 9);
    }
    // The givens' texts were set while the cells were being built: no check ran.
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(cellsReady, 1);
}

TEST_F(MainWindowTest, NotificationsWhileCellsAreBuiltChangeNothing) {
    UseEmptyPuzzle();
    playerGrid[0] = 5;
    cellsReady = 0;
    Enter(1, "5");
    Enter(2, "3");
    cellsReady = 1;
    EXPECT_EQ(playerGrid[1], 0);
    EXPECT_EQ(playerGrid[2], 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(CheckCellEntry(mainWindow, 4001) == false);
    EXPECT_EQ(playerGrid[1], 5);
}

TEST_F(MainWindowTest, RebuildKeepsThePlayersDigitsInHiddenCells) {
    UseEmptyPuzzle();
    playerGrid[10] = 6;
    puzzleBuilder.clueMask[11] = kMaskGiven;
    puzzleBuilder.solution[11] = 8;
    RebuildCells(mainWindow);
    EXPECT_EQ(TextOf(cell(10)), "6");
    EXPECT_EQ(TextOf(cell(11)), "8");
    EXPECT_EQ(TextOf(cell(12)), "");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(cellsReady, 1);
}

} // namespace
