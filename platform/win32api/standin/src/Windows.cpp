// Window classes and the window tree of the stand-in: creation with its
// messages, destruction of children and owned windows, and the queries on a
// window (long values, rectangles, text, focus, enabled state).
#include "State.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace standin {

State& state() {
    // Never destroyed: window procedures may still run while the process ends.
    static State* instance = new State;
    return *instance;
}

HWND makeHandle(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

Window* findWindow(HWND hwnd) {
    auto& windows = state().windows;
    auto found = windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (hwnd == nullptr || found == windows.end()) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return &found->second;
}

WindowClass* findClass(const char* name) {
    registerBuiltInClasses();
    for (WindowClass* wc : state().classes) {
        if (IS_INTRESOURCE(name) ? wc->atom == LOWORD(name)
                                 : strcasecmp(wc->name.c_str(), name) == 0) {
            return wc;
        }
    }
    return nullptr;
}

namespace {

ATOM addClass(WindowClass wc) {
    if (wc.proc == nullptr || wc.name.empty()) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (findClass(wc.name.c_str()) != nullptr) {
        setLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    wc.atom = state().nextAtom++;
    state().classes.push_back(new WindowClass(wc));
    return wc.atom;
}

HWND topLevelOf(HWND hwnd) {
    Window* w = findWindow(hwnd);
    while (w != nullptr && (w->style & WS_CHILD) && w->parent != nullptr) {
        hwnd = w->parent;
        w = findWindow(hwnd);
    }
    return hwnd;
}

void activate(HWND hwnd) {
    CbtActivate info{FALSE, state().active};
    if (callCbtHooks(HCBT_ACTIVATE, reinterpret_cast<WPARAM>(hwnd),
                     reinterpret_cast<LPARAM>(&info)) != 0) {
        return;
    }
    if (findWindow(hwnd) != nullptr) {
        state().active = hwnd;
    }
}

bool isInside(HWND hwnd, HWND ancestor) {
    for (Window* w = findWindow(hwnd); w != nullptr; w = findWindow(w->parent)) {
        if (w->handle == ancestor) {
            return true;
        }
        if (!(w->style & WS_CHILD)) {
            return false;
        }
    }
    return false;
}

void sendDestroy(HWND hwnd) {
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    if (Window* w = findWindow(hwnd)) {
        std::vector<HWND> children = w->children;
        for (HWND child : children) {
            if (Window* c = findWindow(child); c != nullptr && !c->destroying) {
                c->destroying = true;
                sendDestroy(child);
            }
        }
    }
}

void sendNcDestroy(HWND hwnd) {
    if (Window* w = findWindow(hwnd)) {
        std::vector<HWND> children = w->children;
        for (HWND child : children) {
            sendNcDestroy(child);
        }
    }
    if (findWindow(hwnd) == nullptr) {
        return;
    }
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return;
    }
    if (Window* parent = findWindow(w->parent)) {
        std::erase(parent->children, hwnd);
    }
    std::erase_if(state().queue, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    state().windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
}

} // namespace

POINT clientOrigin(const Window& w) {
    RECT frame = nonClientFrame(w.style);
    POINT origin{w.x + frame.left, w.y + frame.top};
    if ((w.style & WS_CHILD) && w.parent != nullptr) {
        if (Window* parent = findWindow(w.parent)) {
            POINT base = clientOrigin(*parent);
            origin.x += base.x;
            origin.y += base.y;
        }
    }
    return origin;
}

RECT nonClientFrame(DWORD style) {
    // A caption comes with a dialog frame (WS_CAPTION holds WS_DLGFRAME); a
    // plain border is one pixel wide.
    int x = 0;
    int y = 0;
    if (style & WS_DLGFRAME) {
        x = GetSystemMetrics(SM_CXDLGFRAME);
        y = GetSystemMetrics(SM_CYDLGFRAME);
    } else if (style & WS_BORDER) {
        x = 1;
        y = 1;
    }
    int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return RECT{x, y + caption, x, y};
}

} // namespace standin

using namespace standin;

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (wc == nullptr || wc->lpszClassName == nullptr) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return addClass(WindowClass{wc->lpszClassName, wc->style, wc->lpfnWndProc, wc->hInstance,
                                wc->hIcon, nullptr, wc->hCursor, wc->hbrBackground});
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (wc == nullptr || wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpszClassName == nullptr) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return addClass(WindowClass{wc->lpszClassName, wc->style, wc->lpfnWndProc, wc->hInstance,
                                wc->hIcon, wc->hIconSm, wc->hCursor, wc->hbrBackground});
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    WindowClass* wc = className != nullptr ? findClass(className) : nullptr;
    if (wc == nullptr) {
        setLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    if (parent != nullptr && findWindow(parent) == nullptr) {
        return nullptr;
    }
    bool child = (style & WS_CHILD) != 0;
    if (child && parent == nullptr) {
        setLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (x == CW_USEDEFAULT) {
        // Overlapped windows get a cascading default place; others the origin.
        bool overlapped = !child && !(style & WS_POPUP);
        x = overlapped ? 26 : 0;
        y = overlapped ? 26 : 0;
    }
    if (width == CW_USEDEFAULT) {
        // No caller leaves the size to the system, and no default size is modelled.
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }

    State& s = state();
    HWND hwnd = makeHandle(s.nextWindow);
    s.nextWindow += 4;
    Window& w = s.windows[reinterpret_cast<std::uintptr_t>(hwnd)];
    w.handle = hwnd;
    w.windowClass = wc;
    w.proc = wc->proc;
    w.instance = instance;
    w.style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w.exStyle = exStyle;
    if (child) {
        w.parent = parent;
        w.id = static_cast<int>(reinterpret_cast<std::intptr_t>(menu));
    } else {
        w.owner = parent != nullptr ? topLevelOf(parent) : nullptr;
    }

    // A window with a dialog frame gets the raised window edge.
    if (style & WS_DLGFRAME) {
        exStyle |= WS_EX_WINDOWEDGE;
    } else {
        exStyle &= ~static_cast<DWORD>(WS_EX_WINDOWEDGE);
    }
    w.exStyle = exStyle;
    CREATESTRUCTA cs{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    CBT_CREATEWNDA cbt{&cs, nullptr};
    if (callCbtHooks(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd),
                     reinterpret_cast<LPARAM>(&cbt)) != 0) {
        s.windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Window* created = findWindow(hwnd);
    created->x = cs.x;
    created->y = cs.y;
    created->width = cs.cx;
    created->height = cs.cy;
    if (child) {
        findWindow(parent)->children.push_back(hwnd);
    }

    if (SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) == 0) {
        sendNcDestroy(hwnd);
        return nullptr;
    }
    if (findWindow(hwnd) == nullptr) {
        return nullptr;
    }
    if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (findWindow(hwnd) == nullptr) {
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    if (w->destroying) {
        return TRUE;
    }
    w->destroying = true;
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (!(w->style & WS_CHILD)) {
        std::vector<HWND> owned;
        for (auto& [key, other] : state().windows) {
            if (other.owner == hwnd) {
                owned.push_back(other.handle);
            }
        }
        for (HWND o : owned) {
            DestroyWindow(o);
        }
    }
    State& s = state();
    if (s.focus != nullptr && isInside(s.focus, hwnd)) {
        s.focus = nullptr;
    }
    if (s.active == hwnd) {
        s.active = nullptr;
    }
    sendDestroy(hwnd);
    sendNcDestroy(hwnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    return state().windows.count(reinterpret_cast<std::uintptr_t>(hwnd)) != 0 ? TRUE : FALSE;
}

// Only showing is modelled: the commands that the programs pass, which show
// the window and activate a top-level one.
BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command != SW_SHOWNORMAL && command != SW_SHOW && command != SW_SHOWDEFAULT) {
        setLastError(ERROR_INVALID_PARAMETER);
        return wasVisible;
    }
    w->style |= WS_VISIBLE;
    if (!(w->style & WS_CHILD) && state().active != hwnd) {
        activate(hwnd);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    // Nothing is ever invalid: the stand-in does not paint.
    return findWindow(hwnd) != nullptr ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        if (state().focus != nullptr && isInside(state().focus, hwnd)) {
            SetFocus(nullptr);
        }
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return w != nullptr && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

HWND WINAPI SetFocus(HWND hwnd) {
    State& s = state();
    HWND previous = s.focus;
    if (hwnd != nullptr) {
        if (findWindow(hwnd) == nullptr) {
            return nullptr;
        }
        HWND top = topLevelOf(hwnd);
        if (s.active != top) {
            activate(top);
        }
    }
    if (previous == hwnd) {
        return previous;
    }
    s.focus = hwnd;
    if (previous != nullptr && IsWindow(previous)) {
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    if (hwnd != nullptr && IsWindow(hwnd)) {
        SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND WINAPI GetParent(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (w->style & WS_CHILD) {
        return w->parent;
    }
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window* w = findWindow(dialog);
    if (w == nullptr) {
        return nullptr;
    }
    for (HWND child : w->children) {
        if (findWindow(child)->id == id) {
            return child;
        }
    }
    setLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(w->exStyle);
    case GWL_ID:
        return w->id;
    default:
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (index != GWLP_USERDATA) {
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return w->userData;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (index != GWLP_USERDATA) {
        setLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR previous = w->userData;
    w->userData = value;
    return previous;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = findWindow(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    LONG left = w->x;
    LONG top = w->y;
    if ((w->style & WS_CHILD) && w->parent != nullptr) {
        POINT base = clientOrigin(*findWindow(w->parent));
        left += base.x;
        top += base.y;
    }
    *rect = RECT{left, top, left + w->width, top + w->height};
    return TRUE;
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (findWindow(hwnd) == nullptr) {
        return 0;
    }
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(buffer)));
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (findWindow(hwnd) == nullptr) {
        return FALSE;
    }
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}
