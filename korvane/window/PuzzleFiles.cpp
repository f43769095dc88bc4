// solution.txt and masque.txt through CreateFileA and WriteFile. A failure to
// create or to write either file in full is written as one line to the debug
// output and makes WritePuzzleFiles return false, so the window comes up.
#include "PuzzleFiles.h"

#include "Globals.h"
#include "PuzzleText.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void ReportFailure(const char* file, FileStep step, const std::string& reason) {
    OutputDebugStringA(FileFailureLine(file, step, reason).c_str());
}

// The system's text for an error, made to end the debug line "korvane: <file>:
// cannot ...: <reason>": its line break, and the full stop that ends the system's
// sentence, go. (The solver's message box, which shows the text inside brackets,
// keeps the full stop.)
std::string SystemReason(DWORD error) {
    char text[256];
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, sizeof text, nullptr) == 0) {
        std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(error));
    }
    std::string reason = text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '.')) {
        reason.pop_back();
    }
    return reason;
}

HANDLE CreateGridFile(const char* name) {
    HANDLE file =
        CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFailure(name, FileStep::Create, SystemReason(GetLastError()));
    }
    return file;
}

// One WriteFile call; true only when it succeeds and takes the whole text.
bool WriteGridFile(HANDLE file, const char* name, const std::string& text) {
    DWORD written = 0;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        ReportFailure(name, FileStep::Write, SystemReason(GetLastError()));
        return false;
    }
    if (written != text.size()) {
        ReportFailure(name, FileStep::Write,
                      std::to_string(written) + " of " + std::to_string(text.size()) +
                          " bytes written");
        return false;
    }
    return true;
}

} // namespace

// On a failure the handles already opened are closed at once, so that other
// programs can read what was written while the window is up.
bool WritePuzzleFiles() {
    HANDLE solutionFile = CreateGridFile(kSolutionFile);
    if (solutionFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (!WriteGridFile(solutionFile, kSolutionFile, GridFileText(puzzleBuilder.solution))) {
        CloseHandle(solutionFile);
        return false;
    }
    HANDLE maskFile = CreateGridFile(kMaskFile);
    if (maskFile == INVALID_HANDLE_VALUE) {
        CloseHandle(solutionFile);
        return false;
    }
    if (!WriteGridFile(maskFile, kMaskFile, GridFileText(puzzleGrid))) {
        CloseHandle(maskFile);
        CloseHandle(solutionFile);
        return false;
    }
    // Both texts are with the system; ending the process releases the handles.
    std::exit(1);
}
