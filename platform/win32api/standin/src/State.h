// Internal state of the Win32 stand-in: the window tree, the classes, the
// message queue, the hooks and the device contexts. One thread uses it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// Values of the platform that only the stand-in itself uses: the messages it
// sends into window procedures, the frame style inside WS_CAPTION, and the
// error codes of failures that no caller names.
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WS_DLGFRAME 0x00400000L
#define SW_SHOW 5
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_WRITE_PROTECT 19L
#define ERROR_GEN_FAILURE 31L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_FILENAME_EXCED_RANGE 206L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_HOOK_HANDLE 1404L
#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_INVALID_INDEX 1413L
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#define ERROR_INVALID_HOOK_FILTER 1426L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L

namespace standin {

// What a CBT hook receives with HCBT_ACTIVATE.
struct CbtActivate {
    BOOL fMouse;
    HWND hWndActive;
};

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
};

struct Window {
    HWND handle = nullptr;
    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr; // only for WS_CHILD windows
    HWND owner = nullptr;  // only for top-level windows
    std::vector<HWND> children;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0; // relative to the parent's client area, or the screen
    std::string text;
    LONG_PTR userData = 0;
    bool destroying = false;

    // Control state of the built-in classes.
    HGDIOBJ font = nullptr;
    std::uint32_t textLimit = 30000;
    // The selection, from its anchor to the caret; both equal when nothing is selected.
    std::size_t anchor = 0;
    std::size_t caret = 0;
    // Modal result of a message box window; 0 while it runs.
    int boxResult = 0;
};

struct Hook {
    HHOOK handle = nullptr;
    int kind = 0;
    HOOKPROC proc = nullptr;
};

struct DeviceContext {
    HWND window = nullptr;
    int bkMode = OPAQUE;
    COLORREF textColor = RGB(0, 0, 0);
};

struct State {
    std::vector<WindowClass*> classes; // never freed: procedures may hold pointers into them
    std::map<std::uintptr_t, Window> windows;
    std::uintptr_t nextWindow = 0x10010;
    ATOM nextAtom = 0xC000;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Hook> hooks; // the newest first
    std::uintptr_t nextHook = 0x20010;
    std::map<std::uintptr_t, DeviceContext> dcs;
    std::uintptr_t nextDc = 0x30010;
    HWND focus = nullptr;
    HWND active = nullptr;
    HCURSOR cursor = nullptr;
};

State& state();

// The calling thread's last error, as GetLastError reads it.
void setLastError(DWORD code);

// Finds a live window; sets ERROR_INVALID_WINDOW_HANDLE and returns null otherwise.
Window* findWindow(HWND hwnd);
HWND makeHandle(std::uintptr_t value);
WindowClass* findClass(const char* name);
void registerBuiltInClasses();

// Calls the CBT hooks, the newest first; returns what the first one returns.
LRESULT callCbtHooks(int code, WPARAM wParam, LPARAM lParam);

// Non-client size of a window of the given styles: left, top, right, bottom.
RECT nonClientFrame(DWORD style);
// A window's client origin in screen coordinates.
POINT clientOrigin(const Window& w);

// A live device context, or null.
DeviceContext* findDc(HDC dc);
// CLR_INVALID: what the colour calls give for a device context that does not exist.
inline constexpr COLORREF kInvalidColour = 0xFFFFFFFF;

// Window procedures of the built-in classes.
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK messageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a WM_COMMAND notification from a control to its parent.
void notifyParent(HWND control, WORD code);

} // namespace standin
