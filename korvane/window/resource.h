// Resource and control identifiers of korvane, shared by the code and korvane.rc.
#pragma once

// Icon group of the program (a second group is named "A").
#define IDI_KORVANE 100

// Controls of the main window.
#define IDC_SOLUTION 101
#define IDC_CELL_FIRST 4000
#define IDC_CELL_LAST 4080

// Window classes.
#define MAIN_CLASS_NAME "SudokuClassApp"
#define SOLUTION_CLASS_NAME "SudokuSolutionClass"
