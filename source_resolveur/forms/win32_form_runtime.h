// The form runtime on Windows: a real top-level window, created hidden and never
// shown, holding 81 static labels and a multi-line read-only edit box.
//
// The search rewrites captions far more often than anyone could see them, and the
// form is hidden anyway, so texts are pushed to the controls only when the runtime
// gets control: RepaintLog, ProcessEvents, Flush and before a message box. A push
// touches only the labels whose caption differs from what the control shows.
#pragma once

#ifdef _WIN32

#include "form_runtime.h"

#include <windows.h>

#include <memory>

namespace forms {

// The form's window class and the ids of its controls: label i has id
// kFormLabelIdBase + i.
inline constexpr char kFormClass[] = "frmSudoku";
inline constexpr int kFormLabelIdBase = 100;
inline constexpr int kFormLogId = 200;

// The form runtime when no window can be made: texts stay in memory, and the
// message box is the real one, without an owner window.
class Win32WindowlessRuntime : public FormRuntime {
public:
    void SetBusyPointer(bool busy) override;
    void ShowMessage(const std::string& text, const std::string& title) override;

protected:
    void EndProcess(int exitCode) override;
};

// The hidden form on top of the windowless runtime: the same pointer, message box
// and end, with the texts pushed to real controls.
class Win32FormRuntime : public Win32WindowlessRuntime {
public:
    // Creates the hidden form and its controls; throws std::runtime_error on failure.
    Win32FormRuntime();
    ~Win32FormRuntime() override;

    void RepaintLog() override;
    void ProcessEvents() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    void Flush() override;

private:
    void PushCaptions();
    void PushLog();

    HWND form_ = nullptr;
    HWND labels_[kLabelCount] = {};
    HWND log_ = nullptr;
    CaptionChars shown_{};
    unsigned long long shownLog_ = 0;
};

// The hidden form, or a Win32WindowlessRuntime when the form cannot be created.
std::unique_ptr<FormRuntime> CreateWin32Form();

} // namespace forms

#endif
