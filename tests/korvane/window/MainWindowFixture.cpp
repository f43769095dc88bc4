#include "MainWindowFixture.h"

#include <cstdlib>
#include <filesystem>

void MainWindowTest::SetUp() {
    appInstance = GetModuleHandleA(nullptr);
    static const bool registered = RegisterMainClass() != 0 && RegisterSolutionClass() != 0;
    ASSERT_TRUE(registered);
    std::filesystem::create_directory("solution.txt");
    puzzleBuilder.solution.fill(0);
    puzzleBuilder.clueMask.fill(0);
    playerGrid.fill(0);
    puzzleGrid.fill(0);
    cellsReady = 0;
    std::srand(4242);
    recorder = std::make_unique<CbtRecorder>();
    catcher = std::make_unique<test_support::MessageBoxCatcher>();
    mainWindow = CreateMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
}

void MainWindowTest::TearDown() {
    if (IsWindow(mainWindow)) {
        DestroyWindow(mainWindow);
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    catcher.reset();
    recorder.reset();
}

void MainWindowTest::UseEmptyPuzzle() {
    puzzleBuilder.clueMask.fill(kMaskHidden);
    playerGrid.fill(0);
    RebuildCells(mainWindow);
    catcher->Forget();
}
