// The form runtime under the solver's hidden start-up form: 81 label captions,
// the multi-line log box, the application's mouse pointer, pending-event
// processing, a modal message box, the program folder, the time of day and the
// immediate end of the program.
//
// Captions and the log text live in memory here. Rewriting the 81 captions is a
// plain copy of 81 chars; a platform implementation pushes them to its real
// controls only at the points where it gets control (RepaintLog, ProcessEvents,
// Flush, before a message box).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>

namespace forms {

inline constexpr int kLabelCount = 81;

// One char per label: '\0' for a caption never set, otherwise the caption's only char.
using CaptionChars = std::array<char, kLabelCount>;

class FormRuntime {
public:
    FormRuntime() { captions_.fill('\0'); }
    FormRuntime(const FormRuntime&) = delete;
    FormRuntime& operator=(const FormRuntime&) = delete;
    virtual ~FormRuntime() = default;

    // Labels lbCase(0..80). Every index is checked (std::out_of_range).
    void SetCaption(int index, char caption);
    void SetCaptions(const CaptionChars& captions) {
        captions_ = captions;
        ++captionUpdates_;
        if (observer_) {
            observer_(captions_);
        }
    }
    std::string Caption(int index) const;
    const CaptionChars& Captions() const { return captions_; }
    // How many times captions were written.
    long long CaptionUpdates() const { return captionUpdates_; }
    // Called with all captions after every caption write (none by default).
    using CaptionObserver = std::function<void(const CaptionChars&)>;
    void SetCaptionObserver(CaptionObserver observer) { observer_ = std::move(observer); }

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
    virtual void SetBusyPointer(bool busy) { busy_ = busy; }
    bool BusyPointer() const { return busy_; }

    // A modal box with one OK button and no icon; returns when it is dismissed.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;

    // The folder of the running executable, without a trailing separator (a
    // root keeps its own), or "" when the platform cannot tell. SetProgramFolder
    // replaces it, e.g. with a scratch folder.
    virtual std::string ProgramFolder() const;
    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }

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
    long long captionUpdates_ = 0;
    CaptionObserver observer_;
    std::string log_;
    unsigned long long logVersion_ = 0;
    bool busy_ = false;
    std::string programFolder_;
};

// The executable's own folder as the platform reports it ("" when unknown).
std::string ExecutableFolder();

// The current local time of day: HH:MM:SS, or the user's time format on Windows.
std::string LocalTimeOfDay();

} // namespace forms
