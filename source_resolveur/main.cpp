// Entry of the solver: its program, with the hidden form of the platform.
#include "frmSudoku.h"

#ifdef _WIN32
#include "win32_form_runtime.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The hidden form, or a runtime without it whose message box still comes up.
    return frmSudoku::Demarre(forms::CreateWin32Form);
}

#else
#include "headless_runtime.h"

int main() {
    return frmSudoku::Demarre([] { return std::make_unique<forms::HeadlessRuntime>(); });
}
#endif
