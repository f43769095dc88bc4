// Built-in control classes of the stand-in ("Edit", "Static", "Button", and the
// message box class "#32770") and the dialog item helpers.
#include "State.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace standin {

void registerBuiltInClasses() {
    State& s = state();
    if (!s.classes.empty()) {
        return;
    }
    auto add = [&s](const char* name, WNDPROC proc) {
        auto* wc = new WindowClass;
        wc->name = name;
        wc->proc = proc;
        wc->atom = s.nextAtom++;
        s.classes.push_back(wc);
    };
    add("Edit", editProc);
    add("Static", staticProc);
    add("Button", buttonProc);
    add("#32770", messageBoxProc);
}

void notifyParent(HWND control, WORD code) {
    Window* w = findWindow(control);
    if (w == nullptr || w->parent == nullptr) {
        return;
    }
    SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

namespace {

// Font messages, common to the three controls.
bool handleFont(Window& w, UINT message, WPARAM wParam, LRESULT& result) {
    if (message == WM_SETFONT) {
        w.font = reinterpret_cast<HGDIOBJ>(wParam);
        result = 0;
        return true;
    }
    if (message == WM_GETFONT) {
        result = reinterpret_cast<LRESULT>(w.font);
        return true;
    }
    return false;
}

// A typed character replaces the selection, or goes in at the caret; a
// backspace removes the selection, or the character before the caret.
// Read-only cells take nothing, ES_NUMBER cells only digits. A character that
// the text limit refuses goes in as nothing: the parent hears EN_MAXTEXT and
// then, as for any typed character, EN_UPDATE and EN_CHANGE. That is what
// Windows records for an insertion truncated to nothing (Wine's edit control
// tests, the replacement of a text that a too small multi-line control cannot
// take), and what Wine does for a typed character at the limit.
void typeCharacter(Window& w, char c) {
    HWND hwnd = w.handle;
    if (w.style & ES_READONLY) {
        return;
    }
    std::size_t start = std::min({w.anchor, w.caret, w.text.size()});
    std::size_t end = std::min(std::max(w.anchor, w.caret), w.text.size());
    if (c == '\b') {
        if (start == end && start == 0) {
            return;
        }
        start = start == end ? start - 1 : start;
    } else if (static_cast<unsigned char>(c) < ' ' ||
               ((w.style & ES_NUMBER) && (c < '0' || c > '9'))) {
        return;
    }
    w.text.erase(start, end - start);
    w.anchor = w.caret = start;
    if (c != '\b') {
        if (w.text.size() >= w.textLimit) {
            notifyParent(hwnd, EN_MAXTEXT);
        } else {
            w.text.insert(start, 1, c);
            w.anchor = w.caret = start + 1;
        }
    }
    notifyParent(hwnd, EN_UPDATE);
    notifyParent(hwnd, EN_CHANGE);
}

// EM_SETSEL: from start to end, end -1 meaning the end of the text; a start of
// -1 takes the selection away and leaves the caret.
void select(Window& w, WPARAM startParam, LPARAM endParam) {
    const auto start = static_cast<std::intptr_t>(startParam);
    if (start < 0) {
        w.anchor = w.caret;
        return;
    }
    w.anchor = std::min(static_cast<std::size_t>(start), w.text.size());
    w.caret =
        endParam < 0 ? w.text.size() : std::min(static_cast<std::size_t>(endParam), w.text.size());
}

} // namespace

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    LRESULT result = 0;
    if (handleFont(*w, message, wParam, result)) {
        return result;
    }
    switch (message) {
    case WM_NCCREATE:
        // The edit control draws its border itself and drops WS_BORDER.
        w->style &= ~static_cast<DWORD>(WS_BORDER);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SETTEXT:
        DefWindowProcA(hwnd, message, wParam, lParam);
        w = findWindow(hwnd);
        w->anchor = w->caret = 0;
        notifyParent(hwnd, EN_UPDATE);
        notifyParent(hwnd, EN_CHANGE);
        return TRUE;
    case WM_CHAR:
        typeCharacter(*w, static_cast<char>(wParam));
        return 0;
    case EM_SETSEL:
        select(*w, wParam, lParam);
        return 0;
    case EM_LIMITTEXT:
        w->textLimit = wParam != 0 ? static_cast<std::uint32_t>(wParam) : 0x7FFFFFFEu;
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(w->textLimit);
    case WM_SETFOCUS:
        notifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        notifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK staticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    LRESULT result = 0;
    if (handleFont(*w, message, wParam, result)) {
        return result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = findWindow(hwnd);
    if (w == nullptr) {
        return 0;
    }
    LRESULT result = 0;
    if (handleFont(*w, message, wParam, result)) {
        return result;
    }
    if (message == BM_CLICK) {
        // As on the real system, the message clicks a disabled button too.
        notifyParent(hwnd, BN_CLICKED);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace standin

using namespace standin;

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, buffer, size));
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextA(item, text) : FALSE;
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[16];
    if (isSigned) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    } else {
        std::snprintf(text, sizeof text, "%u", value);
    }
    return SetDlgItemTextA(dialog, id, text);
}

// Read like strtol or strtoul: leading blanks, a sign, then at least one
// digit; whatever follows the digits is ignored. Unsigned, a negative value
// wraps around. No digit, or a value out of range, reads as 0, not translated.
UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated != nullptr) {
        *translated = FALSE;
    }
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        return 0;
    }
    char text[64];
    GetWindowTextA(item, text, sizeof text);
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (*p < '0' || *p > '9') {
        return 0;
    }
    unsigned long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
        ++p;
    }
    if (isSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) {
        return 0;
    }
    if (translated != nullptr) {
        *translated = TRUE;
    }
    return negative ? static_cast<UINT>(0u - static_cast<UINT>(value)) : static_cast<UINT>(value);
}
