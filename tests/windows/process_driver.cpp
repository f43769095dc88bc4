#include "process_driver.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace windows_test {

namespace {

constexpr DWORD kPollMs = 10;

struct WindowQuery {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId) {
        return TRUE;
    }
    if (query->visibleOnly && !IsWindowVisible(window)) {
        return TRUE;
    }
    if (query->className != nullptr && ClassOf(window) != query->className) {
        return TRUE;
    }
    query->found.push_back(window);
    return TRUE;
}

} // namespace

std::string NativePath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path[0] == '\\') {
        path.insert(0, "Z:");
    }
    return path;
}

int LinuxCommand(const std::string& command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "/bin/sh -c \"" + command + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

FullFileSystem::FullFileSystem(const std::string& folder, const std::string& files)
    : folder_(folder),
      mounted_(LinuxCommand("mkdir -p " + folder + " && mount -t tmpfs -o size=1m tmpfs " + folder +
                            " && for f in " + files + "; do cp $f " + folder +
                            "; done && (cat /dev/zero >" + folder + "/filler 2>/dev/null; true)") ==
               0) {}

FullFileSystem::~FullFileSystem() {
    if (mounted_) {
        LinuxCommand("umount -l " + folder_);
    }
}

std::optional<std::string> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
        info_ = {};
    }
}

ChildProcess::~ChildProcess() {
    if (info_.hProcess == nullptr) {
        return;
    }
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) const {
    if (info_.hProcess == nullptr ||
        WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void ChildProcess::Pause(DWORD ms) const {
    if (info_.hProcess != nullptr) {
        WaitForSingleObject(info_.hProcess, ms);
    }
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, bool visibleOnly) {
    WindowQuery query{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(const ChildProcess& child, const char* className, const char* title,
                   DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : TopLevelWindows(child.ProcessId(), className, true)) {
            if (title == nullptr || WindowText(window) == title) {
                return window;
            }
        }
        if (!child.Running() || GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        child.Pause(kPollMs);
    }
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return "<no answer>";
    }
    return std::string(text, copied);
}

void ClickMiddleOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    // The point goes with the button's own events, in the 0 to 65535 scale of the
    // screen (the middle of the pixel), so that the click does not depend on where
    // the system believes the cursor stands when the events arrive.
    const auto scaled = [](LONG pixel, int metric) {
        return static_cast<LONG>((2 * pixel + 1) * 65536LL / (2 * GetSystemMetrics(metric)));
    };
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = scaled((rect.left + rect.right) / 2, SM_CXSCREEN);
        input.mi.dy = scaled((rect.top + rect.bottom) / 2, SM_CYSCREEN);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    inputs[0].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void PressKeys(const std::vector<Key>& keys) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        // The navigation keys lie on the extended part of the keyboard.
        const bool extended = vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT;
        input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    };
    for (const Key& key : keys) {
        if (key.shift) {
            add(VK_SHIFT, false);
        }
        add(key.vk, false);
        add(key.vk, true);
        if (key.shift) {
            add(VK_SHIFT, true);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::optional<MessageBoxSeen> WaitForMessageBox(const ChildProcess& child, DWORD timeoutMs) {
    HWND box = WaitForWindow(child, "#32770", nullptr, timeoutMs);
    if (box == nullptr) {
        return std::nullopt;
    }
    MessageBoxSeen seen;
    seen.box = box;
    // The text control of a message box has the id 0xFFFF; it may still be on its way.
    const DWORD start = GetTickCount();
    HWND text = nullptr;
    while ((text = GetDlgItem(box, 0xFFFF)) == nullptr && GetTickCount() - start < timeoutMs) {
        child.Pause(kPollMs);
    }
    seen.caption = WindowText(box);
    seen.text = text != nullptr ? WindowText(text) : "<no text control>";
    return seen;
}

bool PressOk(const ChildProcess& child, HWND box, DWORD timeoutMs) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(box)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        child.Pause(kPollMs);
    }
    return true;
}

} // namespace windows_test
