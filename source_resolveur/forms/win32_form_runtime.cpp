#ifdef _WIN32

#include "win32_form_runtime.h"

#include <stdexcept>

namespace forms {
namespace {

constexpr int kCellSize = 24;
constexpr int kMargin = 8;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterFormClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, kFormClass, &wc)) {
        return;
    }
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    if (!RegisterClassA(&wc)) {
        throw std::runtime_error("RegisterClassA failed");
    }
}

// Label 9y + x shows cell (x, y), y counted from the bottom: row 8 is drawn on top.
RECT LabelRect(int index) {
    const int x = index % 9;
    const int y = index / 9;
    const int left = kMargin + x * kCellSize + (x / 3) * 4;
    const int top = kMargin + (8 - y) * kCellSize + ((8 - y) / 3) * 4;
    return RECT{left, top, left + kCellSize - 2, top + kCellSize - 2};
}

} // namespace

Win32FormRuntime::Win32FormRuntime() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFormClass(instance);
    form_ = CreateWindowExA(0, kFormClass, "Sudoku", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 560, 300, nullptr, nullptr, instance, nullptr);
    if (form_ == nullptr) {
        throw std::runtime_error("CreateWindowExA failed for the form");
    }
    for (int i = 0; i < kLabelCount; ++i) {
        const RECT r = LabelRect(i);
        labels_[i] = CreateWindowExA(
            0, "Static", "", WS_CHILD | WS_VISIBLE | SS_CENTER, r.left, r.top, r.right - r.left,
            r.bottom - r.top, form_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFormLabelIdBase + i)), instance, nullptr);
        if (labels_[i] == nullptr) {
            DestroyWindow(form_);
            throw std::runtime_error("CreateWindowExA failed for a label");
        }
    }
    const int logLeft = 2 * kMargin + 9 * kCellSize + 8;
    log_ = CreateWindowExA(
        WS_EX_CLIENTEDGE, "Edit", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, logLeft,
        kMargin, 300, 9 * kCellSize + 8, form_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFormLogId)), instance, nullptr);
    if (log_ == nullptr) {
        DestroyWindow(form_);
        throw std::runtime_error("CreateWindowExA failed for the log box");
    }
}

Win32FormRuntime::~Win32FormRuntime() {
    if (form_ != nullptr) {
        DestroyWindow(form_);
    }
}

void Win32FormRuntime::PushCaptions() {
    const CaptionChars& captions = Captions();
    for (int i = 0; i < kLabelCount; ++i) {
        if (captions[static_cast<std::size_t>(i)] != shown_[static_cast<std::size_t>(i)]) {
            const char text[2] = {captions[static_cast<std::size_t>(i)], '\0'};
            SetWindowTextA(labels_[i], text);
            shown_[static_cast<std::size_t>(i)] = captions[static_cast<std::size_t>(i)];
        }
    }
}

void Win32FormRuntime::PushLog() {
    if (shownLog_ != LogVersion()) {
        SetWindowTextA(log_, LogText().c_str());
        shownLog_ = LogVersion();
    }
}

void Win32FormRuntime::Flush() {
    PushCaptions();
    PushLog();
}

void Win32FormRuntime::RepaintLog() {
    Flush();
    UpdateWindow(log_);
}

void Win32FormRuntime::ProcessEvents() {
    Flush();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Keep the request for whoever runs the next message loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Win32FormRuntime::ShowMessage(const std::string& text, const std::string& title) {
    Flush();
    Win32WindowlessRuntime::ShowMessage(text, title);
}

void Win32WindowlessRuntime::SetBusyPointer(bool busy) {
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

// One OK button, no icon, no owner: the form, if any, is hidden.
void Win32WindowlessRuntime::ShowMessage(const std::string& text, const std::string& title) {
    MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK);
}

void Win32WindowlessRuntime::EndProcess(int exitCode) {
    ExitProcess(static_cast<UINT>(exitCode));
}

std::unique_ptr<FormRuntime> CreateWin32Form() {
    try {
        return std::make_unique<Win32FormRuntime>();
    } catch (const std::runtime_error&) {
        // No window can be made (no desktop, or the system refused it): the form
        // is never shown anyway, and a message box needs no owner.
        return std::make_unique<Win32WindowlessRuntime>();
    }
}

} // namespace forms

#endif
