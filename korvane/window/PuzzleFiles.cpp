// solution.txt and masque.txt through CreateFileA and WriteFile. A failure to
// open, create or write either file in full is written as one line to the debug
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

// One of the two files, held for this run: open for writing, unshared.
struct HeldFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool made = false; // created by this run, so that a failure deletes it
};

// Opens the file for writing, or creates it where there is none, unshared: no
// other program can open it while this run holds it. Nothing of it changes yet.
bool HoldGridFile(const char* name, HeldFile& held) {
    held.handle =
        CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (held.handle == INVALID_HANDLE_VALUE) {
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            ReportFailure(name, FileStep::Open, kFileInUse);
        } else {
            ReportFailure(name, FileStep::Create, SystemReason(error));
        }
        return false;
    }
    held.made = error != ERROR_ALREADY_EXISTS;
    return true;
}

// Cuts a held file to nothing (only a file on a disk has a length to cut: a link
// to a device has none) and writes the text in one WriteFile call; true only when
// it succeeds and takes the whole text.
bool WriteGridFile(HANDLE file, const char* name, const std::string& text) {
    if (GetFileType(file) == FILE_TYPE_DISK && !SetEndOfFile(file)) {
        ReportFailure(name, FileStep::Create, SystemReason(GetLastError()));
        return false;
    }
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

// Both files are held before either changes, so a file that cannot be had leaves
// both as they were. On a failure the handles are closed at once, so that other
// programs can use the files while the window is up, and the files that this run
// created are deleted again.
bool WritePuzzleFiles() {
    const char* names[] = {kSolutionFile, kMaskFile};
    const std::string texts[] = {GridFileText(puzzleBuilder.solution), GridFileText(puzzleGrid)};
    HeldFile files[2];
    const bool written = HoldGridFile(names[0], files[0]) && HoldGridFile(names[1], files[1]) &&
                         WriteGridFile(files[0].handle, names[0], texts[0]) &&
                         WriteGridFile(files[1].handle, names[1], texts[1]);
    if (written) {
        // Both texts are with the system; ending the process releases the handles.
        std::exit(1);
    }
    for (int i = 0; i < 2; ++i) {
        if (files[i].handle != INVALID_HANDLE_VALUE) {
            CloseHandle(files[i].handle);
        }
        if (files[i].made) {
            DeleteFileA(names[i]);
        }
    }
    return false;
}
