// Drives a real Windows program from outside, as a person would: starts it in a
// folder, finds its windows, reads their texts and styles, and waits for its end.
#pragma once

#include "temp_folder.h"
#include "window_class.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace windows_test {

// A path as the build gives it ("/work/x" under Wine, "C:/x" on Windows), in the form
// that CreateProcessA and the file functions take: "Z:\work\x", "C:\x".
std::string NativePath(std::string path);

// A new empty folder under the temporary folder, removed with its content at the end.
using ScratchFolder = test_support::TempFolder;

// Under Wine, runs a command of the Linux system (through sh -c) and waits for its
// end: its exit code, or -1 where there is no such system (on Windows).
int LinuxCommand(const std::string& command);
// Under Wine, where root may mount one, a file system of 1 MiB in memory (tmpfs) on a
// Linux folder (made if missing), holding copies of the Linux files named and then
// filled: nothing more can be written there. Unmounted at the end.
class FullFileSystem {
public:
    FullFileSystem(const std::string& folder, const std::string& files);
    ~FullFileSystem();
    FullFileSystem(const FullFileSystem&) = delete;
    FullFileSystem& operator=(const FullFileSystem&) = delete;
    bool Mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_;
};

std::optional<std::string> ReadBytes(const std::string& file);
void WriteBytes(const std::string& file, const std::string& bytes);

// One started program. The destructor ends it if it is still running.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::string& folder);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD ProcessId() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }
    bool Running() const;
    // Waits at most timeoutMs for the end; the exit code, or nothing on a time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;
    // Lets a little time pass for the program: returns early when it ends.
    void Pause(DWORD ms) const;

private:
    PROCESS_INFORMATION info_{};
};

// Top-level windows of a process; a null class matches any class.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, bool visibleOnly);

// Polls until the process shows a visible top-level window of that class (and title,
// when given), the process ends or the time runs out.
HWND WaitForWindow(const ChildProcess& child, const char* className, const char* title,
                   DWORD timeoutMs);

using test_support::ClassOf;
// The window's text through WM_GETTEXT, also for another process's controls.
std::string WindowText(HWND window);

// Real input, through the system's input path as a person's: a left click at the
// middle of a window (which the click activates), and keys pressed and let go in
// turn (a key with its shift: shift held down around it).
void ClickMiddleOf(HWND window);
struct Key {
    WORD vk;
    bool shift = false;
};
void PressKeys(const std::vector<Key>& keys);

// A message box as another process shows it.
struct MessageBoxSeen {
    HWND box = nullptr;
    std::string caption;
    std::string text;
};
std::optional<MessageBoxSeen> WaitForMessageBox(const ChildProcess& child, DWORD timeoutMs);
// Presses OK (the box's default button) and waits until the box is gone.
bool PressOk(const ChildProcess& child, HWND box, DWORD timeoutMs);

} // namespace windows_test
