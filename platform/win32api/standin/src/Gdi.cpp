// System metrics, colours, stock objects, cursors and icons, and device
// contexts that record the colours and background mode set on them.
#include "State.h"

#include <map>

namespace {

// Default metrics of Windows 10 at 96 dots per inch.
const std::map<int, int> kMetrics = {
    {SM_CXSCREEN, 1024},    {SM_CYSCREEN, 768}, {SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17},
    {SM_CYCAPTION, 23},     {SM_CXBORDER, 1},   {SM_CYBORDER, 1},   {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},     {SM_CXICON, 32},    {SM_CYICON, 32},    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},      {SM_CYMENU, 20},    {SM_CXFRAME, 4},    {SM_CYFRAME, 4},
    {SM_CXEDGE, 2},         {SM_CYEDGE, 2},     {SM_CXSMICON, 16},  {SM_CYSMICON, 16},
    {SM_CXPADDEDBORDER, 4},
};

// Default colours of Windows 10.
const std::map<int, COLORREF> kColours = {
    {COLOR_WINDOW, RGB(255, 255, 255)},
    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
    {COLOR_BTNFACE, RGB(240, 240, 240)},
    {COLOR_BTNTEXT, RGB(0, 0, 0)},
};

constexpr std::uintptr_t kSysBrushBase = 0x40000;
constexpr std::uintptr_t kStockBase = 0x41000;
constexpr std::uintptr_t kSystemIconBase = 0x42000;
constexpr std::uintptr_t kSystemCursorBase = 0x43000;

standin::DeviceContext* findDc(HDC dc) {
    auto& dcs = standin::state().dcs;
    auto found = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
    return found != dcs.end() ? &found->second : nullptr;
}

// System icons and cursors exist; the stand-in has no resources of any module.
bool isSystemResource(HINSTANCE instance, LPCSTR name, WORD first, WORD last) {
    return instance == nullptr && IS_INTRESOURCE(name) && LOWORD(name) >= first &&
           LOWORD(name) <= last;
}

} // namespace

using namespace standin;

int WINAPI GetSystemMetrics(int index) {
    auto found = kMetrics.find(index);
    return found != kMetrics.end() ? found->second : 0;
}

DWORD WINAPI GetSysColor(int index) {
    auto found = kColours.find(index);
    return found != kColours.end() ? found->second : 0;
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    if (kColours.count(index) == 0) {
        return nullptr;
    }
    return reinterpret_cast<HBRUSH>(kSysBrushBase + 4 * static_cast<std::uintptr_t>(index));
}

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < WHITE_BRUSH || index > DC_PEN || index == 9) {
        return nullptr;
    }
    return reinterpret_cast<HGDIOBJ>(kStockBase + 4 * static_cast<std::uintptr_t>(index));
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!isSystemResource(instance, name, 32512, 32518)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HICON>(kSystemIconBase + 4 * (LOWORD(name) - 32512u));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (!isSystemResource(instance, name, 32512, 32651)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(kSystemCursorBase + 4 * (LOWORD(name) - 32512u));
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = state().cursor;
    state().cursor = cursor;
    return previous;
}

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

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = record->bkMode;
    record->bkMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC dc) {
    DeviceContext* record = findDc(dc);
    return record != nullptr ? record->bkMode : 0;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = record->textColor;
    record->textColor = color;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC dc) {
    DeviceContext* record = findDc(dc);
    return record != nullptr ? record->textColor : CLR_INVALID;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr) {
        return CLR_INVALID;
    }
    COLORREF previous = record->bkColor;
    record->bkColor = color;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC dc) {
    DeviceContext* record = findDc(dc);
    return record != nullptr ? record->bkColor : CLR_INVALID;
}
