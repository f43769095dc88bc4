// A main window built by the real creation sequence, in a scratch folder where
// solution.txt is a folder: the files cannot be written, so the creation
// returns and the window stays up as in a run that shows it.
#pragma once

#include "CellGrid.h"
#include "Globals.h"
#include "MainWindow.h"
#include "SolutionWindow.h"
#include "Win32TestSupport.h"
#include "message_box_catcher.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND cell(int index) const { return GetDlgItem(mainWindow, IDC_CELL_FIRST + index); }
    // Every cell editable and empty: playerGrid can then be set freely.
    void UseEmptyPuzzle();
    // Sets a cell's text; the cell notifies the main window as typing would.
    void Enter(int index, const char* text) {
        SetDlgItemTextA(mainWindow, IDC_CELL_FIRST + index, text);
    }

    // The message boxes shown, each answered with OK.
    const std::vector<test_support::CaughtBox>& boxes() const { return catcher->Boxes(); }

    ScratchFolder scratch;
    std::unique_ptr<CbtRecorder> recorder;
    std::unique_ptr<test_support::MessageBoxCatcher> catcher;
    HWND mainWindow = nullptr;
};
