// Messages of the stand-in: sent messages go straight into the window
// procedure, posted ones wait in the one thread queue. Also the default window
// procedure, the CBT hooks and modal message boxes.
#include "State.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace standin {

LRESULT callCbtHooks(int code, WPARAM wParam, LPARAM lParam) {
    auto& hooks = state().hooks;
    auto first =
        std::find_if(hooks.begin(), hooks.end(), [](const Hook& h) { return h.kind == WH_CBT; });
    return first != hooks.end() ? first->proc(code, wParam, lParam) : 0;
}

namespace {

bool takeMessage(MSG* msg, HWND filter, UINT first, UINT last) {
    auto& queue = state().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        bool windowMatches = filter == nullptr || it->hwnd == filter;
        bool rangeMatches =
            (first == 0 && last == 0) || (it->message >= first && it->message <= last);
        if (windowMatches && rangeMatches) {
            *msg = *it;
            queue.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> result;
    for (auto& [key, w] : state().windows) {
        if (!(w.style & WS_CHILD) && !w.destroying) {
            result.push_back(w.handle);
        }
    }
    return result;
}

} // namespace

} // namespace standin

using namespace standin;

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    return w->proc(hwnd, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != nullptr && findWindow(hwnd) == nullptr) {
        return FALSE;
    }
    state().queue.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount(), POINT{0, 0}});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    state().quitPosted = true;
    state().quitCode = exitCode;
}

// With nothing queued, no user input can ever arrive: there is no display.
// The remaining top-level windows are then closed, as at the end of a session,
// which lets a program that quits on WM_DESTROY end its loop normally. If that
// brings nothing either, the call fails instead of blocking forever.
BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
    if (msg == nullptr) {
        setLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd != nullptr && findWindow(hwnd) == nullptr) {
        return -1;
    }
    bool sessionEnded = false;
    for (;;) {
        if (takeMessage(msg, hwnd, first, last)) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        State& s = state();
        if (s.quitPosted) {
            s.quitPosted = false;
            *msg = MSG{nullptr, WM_QUIT,        static_cast<WPARAM>(s.quitCode),
                       0,       GetTickCount(), POINT{0, 0}};
            return FALSE;
        }
        if (sessionEnded) {
            setLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        sessionEnded = true;
        for (HWND top : topLevelWindows()) {
            if (IsWindow(top)) {
                SendMessageA(top, WM_CLOSE, 0, 0);
            }
        }
    }
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    // No keyboard: there are never key messages to translate.
    (void)msg;
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) {
        return 0;
    }
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) {
            w->text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_SETTEXT:
        w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (buffer == nullptr || wParam == 0) {
            return 0;
        }
        std::size_t n = std::min(w->text.size(), static_cast<std::size_t>(wParam - 1));
        std::memcpy(buffer, w->text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_CTLCOLORSTATIC:
        // The default look of a static control: the button face behind it.
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        return 0;
    }
}

namespace standin {

LRESULT CALLBACK messageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w != nullptr && message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        w->boxResult = IDOK;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace standin

// The box is a "#32770" window with its text in the static control 0xFFFF and
// an OK button, so that a CBT hook sees and closes it as on Windows. Its modal
// loop runs the posted messages; when none is left, no one can ever press the
// button and the box ends with its default answer, IDOK. Every box is also
// written to standard error.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if ((type & 0x0F) != MB_OK) {
        // Only the one-button box is modelled.
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (owner != nullptr && findWindow(owner) == nullptr) {
        return 0;
    }
    const char* shownCaption = caption != nullptr ? caption : "Error";
    std::fprintf(stderr, "[%s] %s\n", shownCaption, text != nullptr ? text : "");
    std::fflush(stderr);

    HWND ownerTop = owner;
    while (ownerTop != nullptr && (GetWindowLongA(ownerTop, GWL_STYLE) & WS_CHILD)) {
        ownerTop = GetParent(ownerTop);
    }
    HWND box = CreateWindowExA(0, "#32770", shownCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                               CW_USEDEFAULT, CW_USEDEFAULT, 200, 120, ownerTop, nullptr, nullptr,
                               nullptr);
    if (box == nullptr) {
        return 0;
    }
    CreateWindowExA(0, "Static", text != nullptr ? text : "", WS_CHILD | WS_VISIBLE, 10, 10, 170,
                    40, box, reinterpret_cast<HMENU>(0xFFFF), nullptr, nullptr);
    CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 60, 60, 75, 23, box,
                    reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);

    State& s = state();
    HWND savedFocus = s.focus;
    HWND savedActive = s.active;
    bool ownerDisabled = ownerTop != nullptr && IsWindowEnabled(ownerTop);
    if (ownerDisabled) {
        EnableWindow(ownerTop, FALSE);
    }
    ShowWindow(box, SW_SHOWNORMAL);

    int result = 0;
    for (;;) {
        Window* w = findWindow(box);
        if (w == nullptr) {
            result = IDOK;
            break;
        }
        if (w->boxResult != 0) {
            result = w->boxResult;
            break;
        }
        MSG msg;
        if (!takeMessage(&msg, nullptr, 0, 0) || s.quitPosted) {
            result = IDOK;
            break;
        }
        DispatchMessageA(&msg);
    }
    if (ownerDisabled && IsWindow(ownerTop)) {
        EnableWindow(ownerTop, TRUE);
    }
    if (IsWindow(box)) {
        DestroyWindow(box);
    }
    if (savedActive != nullptr && IsWindow(savedActive)) {
        s.active = savedActive;
    }
    // The owner is active again and, like any window that its default handling
    // activates, takes the focus itself: not the control that had it before.
    if (ownerTop != nullptr && IsWindow(ownerTop)) {
        s.focus = nullptr;
        SetFocus(ownerTop);
    } else if (savedFocus != nullptr && IsWindow(savedFocus)) {
        SetFocus(savedFocus);
    }
    return result;
}
