// The solver's start-up form: its load event is the whole run.
#pragma once

#include "form_runtime.h"

namespace frmSudoku {

// Exit codes of the program.
inline constexpr int kSortieResolue = 0;         // a complete board was saved
inline constexpr int kSortieSansSolution = 1;    // no completion: the grid was saved as loaded
inline constexpr int kSortieEchecSauvegarde = 2; // solution.txt could not be written

// Clears the board, loads grille.txt from the program folder, searches, saves
// solution.txt beside it and returns the exit code. Does not end the process.
int RunSudoku(forms::FormRuntime& form);

// The load event of the hidden form: the run, then the immediate end of the program.
[[noreturn]] void Form_Load(forms::FormRuntime& form);

} // namespace frmSudoku
