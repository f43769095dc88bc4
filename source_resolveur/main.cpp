// Entry of the solver: creates the hidden form, whose load event is the run.
#include "frmSudoku.h"

#include <cstdio>
#include <exception>

#ifdef _WIN32
#include "headless_runtime.h"
#include "win32_form_runtime.h"

#include <memory>
#include <stdexcept>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        std::unique_ptr<forms::FormRuntime> form;
        try {
            form = std::make_unique<forms::Win32FormRuntime>();
        } catch (const std::runtime_error&) {
            // No window can be made (no desktop): the form is never shown anyway.
            form = std::make_unique<forms::HeadlessRuntime>();
        }
        frmSudoku::Form_Load(*form);
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "sudoku", MB_OK | MB_ICONERROR);
        return 3;
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
        return 3;
    }
}
#endif
