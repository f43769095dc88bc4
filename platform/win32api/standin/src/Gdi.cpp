// System metrics, colours, stock objects, cursors and icons, and the colours
// and background mode that a device context records.
#include "State.h"

#include <map>

namespace {

// Default metrics of Windows 10 at 96 dots per inch.
const std::map<int, int> kMetrics = {
    {SM_CYCAPTION, 23},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
};

constexpr std::uintptr_t kSysBrushBase = 0x40000;
constexpr std::uintptr_t kStockBase = 0x41000;
constexpr std::uintptr_t kSystemCursorBase = 0x43000;

} // namespace

namespace standin {

DeviceContext* findDc(HDC dc) {
    auto& dcs = state().dcs;
    auto found = dcs.find(reinterpret_cast<std::uintptr_t>(dc));
    return found != dcs.end() ? &found->second : nullptr;
}

} // namespace standin

using namespace standin;

int WINAPI GetSystemMetrics(int index) {
    auto found = kMetrics.find(index);
    return found != kMetrics.end() ? found->second : 0;
}

// The one system colour asked for: the button face of Windows 10.
HBRUSH WINAPI GetSysColorBrush(int index) {
    if (index != COLOR_BTNFACE) {
        return nullptr;
    }
    return reinterpret_cast<HBRUSH>(kSysBrushBase + 4 * static_cast<std::uintptr_t>(index));
}

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index != WHITE_BRUSH && index != DEFAULT_GUI_FONT) {
        return nullptr;
    }
    return reinterpret_cast<HGDIOBJ>(kStockBase + 4 * static_cast<std::uintptr_t>(index));
}

// The stand-in holds no resources of any module, so no icon can be loaded.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    (void)instance;
    (void)name;
    setLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

// The system's arrow and wait cursors.
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance != nullptr || (name != IDC_ARROW && name != IDC_WAIT)) {
        setLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(kSystemCursorBase + 4 * (LOWORD(name) - 32512u));
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = state().cursor;
    state().cursor = cursor;
    return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        setLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = record->bkMode;
    record->bkMode = mode;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* record = findDc(dc);
    if (record == nullptr) {
        return kInvalidColour;
    }
    COLORREF previous = record->textColor;
    record->textColor = color;
    return previous;
}
