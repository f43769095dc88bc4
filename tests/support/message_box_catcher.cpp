#include "message_box_catcher.h"

#include "window_class.h"

#include <utility>

namespace test_support {

namespace {

thread_local MessageBoxCatcher* tCatcher = nullptr;

bool Shown(HWND control) {
    return control != nullptr && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A shown icon among the box's controls, whatever its id (20 on Windows, 0x440 under
// Wine).
BOOL CALLBACK FindIcon(HWND control, LPARAM found) {
    if (ClassOf(control) == "Static" &&
        (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && Shown(control) &&
        SendMessageA(control, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

} // namespace

MessageBoxCatcher::MessageBoxCatcher(std::string refusedClass)
    : refusedClass_(std::move(refusedClass)) {
    tCatcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    tCatcher = nullptr;
}

LRESULT CALLBACK MessageBoxCatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
    MessageBoxCatcher* self = tCatcher;
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (self != nullptr && code == HCBT_CREATEWND && !self->refusedClass_.empty() &&
        ClassOf(window) == self->refusedClass_) {
        return 1;
    }
    if (self != nullptr && code == HCBT_ACTIVATE && ClassOf(window) == "#32770") {
        CaughtBox box;
        char text[1024] = {};
        GetWindowTextA(window, text, sizeof text);
        box.caption = text;
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        box.text = text;
        box.okShown = Shown(GetDlgItem(window, IDOK));
        box.cancelShown = Shown(GetDlgItem(window, IDCANCEL));
        EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&box.iconShown));
        box.owner = GetWindow(window, GW_OWNER);
        self->boxes_.push_back(box);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}

} // namespace test_support
