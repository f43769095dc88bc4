// Helpers for tests of window code: a CBT hook that records every window
// creation (with the styles asked for, before a control changes them), and a
// scratch current folder.
#pragma once

#include "temp_folder.h"
#include "window_class.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

struct CreatedWindow {
    HWND hwnd;
    std::string className;
    std::string title;
    int id;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    HWND parent;
};

// While it lives, records the creations of this thread's windows.
class CbtRecorder {
public:
    CbtRecorder();
    ~CbtRecorder();
    CbtRecorder(const CbtRecorder&) = delete;
    CbtRecorder& operator=(const CbtRecorder&) = delete;

    // The last creation of a child with this parent and id; null when none.
    const CreatedWindow* lastChild(HWND parent, int id) const;
    // How many windows of this class were created.
    int countCreated(const std::string& className) const;

    std::vector<CreatedWindow> created;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
};

// A fresh empty folder made the current folder; the previous one is restored
// and the folder removed at the end.
class ScratchFolder : public test_support::TempFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

private:
    std::filesystem::path previous_;
};

using test_support::ClassOf;
std::string TextOf(HWND hwnd);
// A window's rectangle relative to the client area of its parent.
RECT RectInParent(HWND hwnd);
std::string ReadFileBytes(const std::filesystem::path& path);
