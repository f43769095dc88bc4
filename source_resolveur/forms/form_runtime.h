// The form runtime under the solver's hidden start-up form: 81 label captions,
// the multi-line log box, the application's mouse pointer, pending-event
// processing, a modal message box, the program folder, the time of day and the
// immediate end of the program. Its sequential files are in sequential_file.h.
//
// Captions and the log text live in memory here. Rewriting the 81 captions is a
// plain copy of 81 chars; a platform implementation pushes them to its real
// controls only at the points where it gets control (RepaintLog, ProcessEvents,
// Flush, before a message box).
#pragma once

#include <array>
#include <string>
#include <utility>

namespace forms {

inline constexpr int kLabelCount = 81;

// One char per label: '\0' for a caption never set, otherwise the caption's only char.
using CaptionChars = std::array<char, kLabelCount>;

class FormRuntime {
public:
    FormRuntime() = default;
    FormRuntime(const FormRuntime&) = delete;
    FormRuntime& operator=(const FormRuntime&) = delete;
    virtual ~FormRuntime() = default;

    // The labels lbCase(0..80), all rewritten at once.
    virtual void SetCaptions(const CaptionChars& captions) { captions_ = captions; }
    const CaptionChars& Captions() const { return captions_; }

    // The log box tbMess.
    const std::string& LogText() const { return log_; }
    void SetLogText(std::string text) {
        log_ = std::move(text);
        ++logVersion_;
    }
    // Shows the current log text at once.
    virtual void RepaintLog() {}

    // Lets the window system handle what is pending.
    virtual void ProcessEvents() {}

    // The application-wide mouse pointer: busy (hourglass) or default.
    virtual void SetBusyPointer(bool /*busy*/) {}

    // A modal box with one OK button and no icon; returns when it is dismissed.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;

    // The folder of the running executable, without a trailing separator (a
    // root keeps its own), or "" when the platform cannot tell. UTF-8.
    virtual std::string ProgramFolder() const;

    // The time of day as text in the platform's format.
    virtual std::string TimeOfDay() const;

    // Pushes the in-memory texts to the real controls, where there are any.
    virtual void Flush() {}

    // Ends the process at once with the given exit code.
    [[noreturn]] void EndNow(int exitCode);

protected:
    // The platform's own way to end the process; EndNow falls back on std::_Exit.
    virtual void EndProcess(int /*exitCode*/) {}
    unsigned long long LogVersion() const { return logVersion_; }

private:
    CaptionChars captions_{};
    std::string log_;
    unsigned long long logVersion_ = 0;
};

// The executable's own folder as the platform reports it ("" when unknown).
std::string ExecutableFolder();

#ifndef _WIN32
// The folder of the file that a symbolic link points to ("" when the link cannot
// be read): ExecutableFolder reads /proc/self/exe.
std::string FolderOfLink(const std::string& link);
#endif

// The current local time of day: HH:MM:SS, or the user's time format on Windows.
std::string LocalTimeOfDay();

} // namespace forms
