// The duplicate check of an entry, reached as on Windows: a cell's text
// changes, the cell sends EN_CHANGE, the main window checks the entry.
#include "MainWindowFixture.h"

#include <string>

namespace {

// The edited cell's row, column and box numbers all differ, and it lies below
// its box's top row, so a scan that mixes up the row and column number, or walks
// nine consecutive cells for the box, misses the cells of the cases below.
constexpr int kCell = 64;    // row 7, column 1, box 6
constexpr int kRowMate = 67; // row 7, column 4, box 7

// Exact bytes of the texts with accents, in code page 1252.
const std::string kColumnText = "Doublons sur la m\xEAme colonne";
const std::string kBoxText = "Doublons dans le carr\xE9";
const std::string kRowText = "Doublons sur la meme ligne";

TEST_F(MainWindowTest, DuplicatesAreReportedForTheFirstUnitOnly) {
    const struct {
        const char* name;
        int otherCell;
        const std::string& text;
    } cases[] = {
        {"row", kRowMate, kRowText},   // row 7, column 4, box 7
        {"column", 28, kColumnText},   // row 3, column 1, box 3
        {"box", 72, kBoxText},         // row 8, column 0, box 6
        {"row and box", 63, kRowText}, // row 7, column 0, box 6
        {"the cell itself", kCell, kRowText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseEmptyPuzzle();
        playerGrid[c.otherCell] = 7;
        Enter(kCell, "7");
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].caption, "Doublons");
        EXPECT_EQ(boxes()[0].text, c.text);
        EXPECT_EQ(boxes()[0].owner, mainWindow);
        // The digit stays, in the cell and in the grid, and the cell has the focus.
        EXPECT_EQ(playerGrid[kCell], 7);
        EXPECT_EQ(TextOf(cell(kCell)), "7");
        EXPECT_EQ(GetFocus(), cell(kCell));
    }
}

TEST_F(MainWindowTest, AcceptedEntriesAndTheirResults) {
    UseEmptyPuzzle();
    playerGrid[0] = 7; // another row, column and box
    Enter(kCell, "7");
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(playerGrid[kCell], 7);
    EXPECT_TRUE(CheckCellEntry(mainWindow, 4000 + 80));
    playerGrid[kRowMate] = 3;
    SetWindowTextA(cell(kCell), "3");
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_FALSE(CheckCellEntry(mainWindow, 4000 + kCell));
    EXPECT_EQ(boxes().size(), 2u);
}

TEST_F(MainWindowTest, EmptiedCellAndZeroStoreZeroSilently) {
    UseEmptyPuzzle();
    Enter(kCell, "5");
    ASSERT_EQ(playerGrid[kCell], 5);
    Enter(kCell, "");
    EXPECT_EQ(playerGrid[kCell], 0);
    Enter(kCell, "5");
    Enter(kCell, "0");
    EXPECT_EQ(playerGrid[kCell], 0);
    EXPECT_EQ(TextOf(cell(kCell)), "0");
    playerGrid[kRowMate] = 0; // a 0 elsewhere in the row is no duplicate of an empty cell
    EXPECT_TRUE(boxes().empty());
}

TEST_F(MainWindowTest, AfterAReportAnotherCellOfTheRowReportsAgain) {
    UseEmptyPuzzle();
    playerGrid[kRowMate] = 2;
    Enter(kCell, "2");
    Enter(kCell + 1, "2");
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, kRowText);
    EXPECT_EQ(GetFocus(), cell(kCell + 1));
}

TEST_F(MainWindowTest, OnlyOneDigitCanBeTypedIntoAHiddenCellAndNoneIntoAGiven) {
    int hidden = -1;
    int given = -1;
    for (int i = 0; i < 81; ++i) {
        (puzzleBuilder.clueMask[i] != 0 ? hidden : given) = i;
    }
    ASSERT_GE(hidden, 0);
    ASSERT_GE(given, 0);
    auto type = [this](int index, char c) {
        SendMessageA(cell(index), WM_CHAR, static_cast<WPARAM>(c), 0);
    };
    CellValue before = playerGrid[hidden];
    type(hidden, 'x');
    EXPECT_EQ(TextOf(cell(hidden)), "");
    EXPECT_EQ(playerGrid[hidden], before);
    // The solution digit of a hidden cell stands nowhere else in its units.
    char digit = static_cast<char>('0' + puzzleBuilder.solution[hidden]);
    type(hidden, digit);
    EXPECT_EQ(TextOf(cell(hidden)), std::string(1, digit));
    EXPECT_EQ(playerGrid[hidden], puzzleBuilder.solution[hidden]);
    // A second digit is refused: the cell and its value stay, and the change
    // that the cell reports all the same is no change, so no duplicate either.
    type(hidden, digit == '9' ? '1' : '9');
    EXPECT_EQ(TextOf(cell(hidden)), std::string(1, digit));
    EXPECT_EQ(playerGrid[hidden], puzzleBuilder.solution[hidden]);
    EXPECT_TRUE(boxes().empty());
    // The same digit typed over the selected one is an entry: it meets the cell
    // itself in the row scan. Also once a refused key has been handled to its
    // end, even if the cell reported only EN_MAXTEXT for it.
    const auto retype = [&] {
        SendMessageA(cell(hidden), EM_SETSEL, 0, -1);
        type(hidden, digit);
    };
    const auto maxTextAlone = [&] {
        SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(4000 + hidden, EN_MAXTEXT),
                     reinterpret_cast<LPARAM>(cell(hidden)));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    };
    retype();
    maxTextAlone();
    retype();
    ASSERT_EQ(boxes().size(), 2u);
    for (const test_support::CaughtBox& box : boxes()) {
        EXPECT_EQ(box.text, kRowText);
    }
    EXPECT_EQ(TextOf(cell(hidden)), std::string(1, digit));
    type(hidden, '\b');
    EXPECT_EQ(TextOf(cell(hidden)), "");
    EXPECT_EQ(playerGrid[hidden], 0);

    std::string givenText = TextOf(cell(given));
    type(given, '\b');
    type(given, '1');
    EXPECT_EQ(TextOf(cell(given)), givenText);
    EXPECT_EQ(playerGrid[given], puzzleBuilder.solution[given]);
}

TEST_F(MainWindowTest, OtherCommandsAndNotificationsDoNothing) {
    UseEmptyPuzzle();
    playerGrid[kRowMate] = 4;
    cellsReady = 0;
    Enter(kCell, "4");
    cellsReady = 1;
    HWND c = cell(kCell);
    const WORD codes[] = {EN_SETFOCUS, EN_KILLFOCUS, EN_UPDATE};
    for (WORD code : codes) {
        SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(4000 + kCell, code),
                     reinterpret_cast<LPARAM>(c));
    }
    SetFocus(cell(0));
    SetFocus(c);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(4081, EN_CHANGE), 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(3999, EN_CHANGE), 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), 0);
    EXPECT_EQ(playerGrid[kCell], 0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(solutionView.window, nullptr);
    EXPECT_TRUE(IsWindow(mainWindow));
}

} // namespace
