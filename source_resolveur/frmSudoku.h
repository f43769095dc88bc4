// The solver's start-up form: its load event is the whole run.
#pragma once

#include "form_runtime.h"

#include <functional>
#include <memory>

namespace frmSudoku {

// Exit codes of the program.
inline constexpr int kSortieResolue = 0;          // a complete board was saved
inline constexpr int kSortieSansSolution = 1;     // no completion: the grid was saved as loaded
inline constexpr int kSortieEchecSauvegarde = 2;  // solution.txt could not be written
inline constexpr int kSortieErreurInattendue = 3; // an unexpected error ended the run
inline constexpr int kSortieSansDossier = 4;      // the program folder is unknown: nothing done

// Clears the board, loads grille.txt from the program folder, searches, saves
// solution.txt beside it and returns the exit code. Does not end the process.
// When the program folder is unknown, it says so in a message box and touches
// no file: a path built on an empty folder would lie at the root.
int RunSudoku(forms::FormRuntime& form);

// The load event of the hidden form: the run, then the immediate end of the program.
[[noreturn]] void Form_Load(forms::FormRuntime& form);

// The program: makes its form and raises the load event, which ends the process. An
// error that escapes either is the unexpected error: the platform reports its text (a
// message box titled "sudoku" on Windows, "sudoku: unexpected error: <text>" on standard
// error elsewhere) and the result is kSortieErreurInattendue, the process's exit code.
using FabriqueForme = std::function<std::unique_ptr<forms::FormRuntime>()>;
int Demarre(const FabriqueForme& creeForme);

} // namespace frmSudoku
