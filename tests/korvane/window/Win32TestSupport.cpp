#include "Win32TestSupport.h"

#include <fstream>
#include <iterator>

namespace {
CbtRecorder* activeRecorder = nullptr;
}

CbtRecorder::CbtRecorder() {
    activeRecorder = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

CbtRecorder::~CbtRecorder() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    activeRecorder = nullptr;
}

const CreatedWindow* CbtRecorder::lastChild(HWND parent, int id) const {
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        if (it->parent == parent && it->id == id && (it->style & WS_CHILD)) {
            return &*it;
        }
    }
    return nullptr;
}

int CbtRecorder::countCreated(const std::string& className) const {
    int n = 0;
    for (const CreatedWindow& w : created) {
        n += w.className == className ? 1 : 0;
    }
    return n;
}

LRESULT CALLBACK CbtRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    CbtRecorder* self = activeRecorder;
    HWND hwnd = reinterpret_cast<HWND>(wParam);
    if (self != nullptr && code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        bool child = (cs->style & WS_CHILD) != 0;
        self->created.push_back(CreatedWindow{
            hwnd, test_support::ClassOf(hwnd),
            cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "",
            child ? static_cast<int>(reinterpret_cast<LONG_PTR>(cs->hMenu)) : 0,
            static_cast<DWORD>(cs->style), cs->dwExStyle, cs->x, cs->y, cs->cx, cs->cy,
            cs->hwndParent});
    }
    return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Path());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

std::string TextOf(HWND hwnd) {
    char text[512] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    POINT origin{0, 0};
    ClientToScreen(GetParent(hwnd), &origin);
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
