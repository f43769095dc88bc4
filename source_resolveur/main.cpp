// Entry of the solver: creates the hidden form, whose load event is the run.
#include "frmSudoku.h"

#include <cstdio>
#include <exception>

#ifdef _WIN32
#include "win32_form_runtime.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        // The hidden form, or a runtime without it whose message box still comes up.
        const auto form = forms::CreateWin32Form();
        frmSudoku::Form_Load(*form);
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "sudoku", MB_OK | MB_ICONERROR);
        return frmSudoku::kSortieErreurInattendue;
    }
}

#else
#include "headless_runtime.h"

int main() {
    try {
        forms::HeadlessRuntime form;
        frmSudoku::Form_Load(form);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sudoku: unexpected error: %s\n", e.what());
        return frmSudoku::kSortieErreurInattendue;
    }
}
#endif
