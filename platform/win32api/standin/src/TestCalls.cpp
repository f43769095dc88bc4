// The calls of the stand-in that only tests make: hooks that watch windows
// being made and activated, the device context of a control, the focus, the
// owner, class names, client areas and moves, the thread, and a look into the
// message queue. A library of their own, which only tests link: the programs
// hold no code that only tests run.
#include "State.h"

#include <algorithm>
#include <cstring>
#include <sys/syscall.h>
#include <unistd.h>

using namespace standin;

HDC WINAPI GetDC(HWND hwnd) {
    if (hwnd != nullptr && findWindow(hwnd) == nullptr) {
        return nullptr;
    }
    State& s = state();
    HDC dc = reinterpret_cast<HDC>(s.nextDc);
    s.nextDc += 4;
    s.dcs[reinterpret_cast<std::uintptr_t>(dc)] = DeviceContext{hwnd};
    return dc;
}

int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr || record->window != hwnd) {
        return 0;
    }
    state().dcs.erase(reinterpret_cast<std::uintptr_t>(dc));
    return 1;
}

int WINAPI GetBkMode(HDC dc) {
    DeviceContext* record = findDc(dc);
    return record != nullptr ? record->bkMode : 0;
}

COLORREF WINAPI GetTextColor(HDC dc) {
    DeviceContext* record = findDc(dc);
    return record != nullptr ? record->textColor : kInvalidColour;
}

DWORD WINAPI GetCurrentThreadId(void) {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

// Never waits; unlike GetMessageA it does not end the session when nothing is queued.
BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    if (msg == nullptr) {
        return FALSE;
    }
    State& s = state();
    auto& queue = s.queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        bool windowMatches = hwnd == nullptr || it->hwnd == hwnd;
        bool rangeMatches =
            (first == 0 && last == 0) || (it->message >= first && it->message <= last);
        if (windowMatches && rangeMatches) {
            *msg = *it;
            if (remove & PM_REMOVE) {
                queue.erase(it);
            }
            return TRUE;
        }
    }
    bool quitWanted = (first == 0 && last == 0) || (WM_QUIT >= first && WM_QUIT <= last);
    if (s.quitPosted && quitWanted) {
        *msg =
            MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, GetTickCount(), POINT{0, 0}};
        if (remove & PM_REMOVE) {
            s.quitPosted = false;
        }
        return TRUE;
    }
    return FALSE;
}

HHOOK WINAPI SetWindowsHookExA(int kind, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
    (void)module;
    if (kind != WH_CBT) {
        // Only CBT hooks exist here: nothing would ever call another kind.
        setLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (proc == nullptr || (threadId != 0 && threadId != GetCurrentThreadId())) {
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    State& s = state();
    HHOOK hook = reinterpret_cast<HHOOK>(s.nextHook);
    s.nextHook += 4;
    s.hooks.insert(s.hooks.begin(), Hook{hook, kind, proc});
    return hook;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
    auto& hooks = state().hooks;
    auto found = std::find_if(hooks.begin(), hooks.end(),
                              [hook](const Hook& h) { return h.handle == hook; });
    if (found == hooks.end()) {
        setLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    hooks.erase(found);
    return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    auto& hooks = state().hooks;
    auto at = std::find_if(hooks.begin(), hooks.end(),
                           [hook](const Hook& h) { return h.handle == hook; });
    if (at == hooks.end()) {
        return 0;
    }
    int kind = at->kind;
    auto next = std::find_if(at + 1, hooks.end(), [kind](const Hook& h) { return h.kind == kind; });
    return next != hooks.end() ? next->proc(code, wParam, lParam) : 0;
}

HWND WINAPI GetFocus(void) {
    return state().focus;
}

// The owner is the one relation that callers ask for.
HWND WINAPI GetWindow(HWND hwnd, UINT command) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (command != GW_OWNER) {
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return (w->style & WS_CHILD) ? nullptr : w->owner;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
    Window* w = findWindow(hwnd);
    if (w == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    std::size_t n = std::min(w->windowClass->name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, w->windowClass->name.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = findWindow(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    RECT frame = nonClientFrame(w->style);
    *rect = RECT{0, 0, std::max<LONG>(0, w->width - frame.left - frame.right),
                 std::max<LONG>(0, w->height - frame.top - frame.bottom)};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
    Window* w = findWindow(hwnd);
    if (w == nullptr || point == nullptr) {
        return FALSE;
    }
    POINT origin = clientOrigin(*w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    (void)repaint;
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    return TRUE;
}
