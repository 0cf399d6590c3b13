#include "win32/window_layout.hpp"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/dialog_font.hpp"
#include "codec/wide_text.hpp"

namespace quillon::win32 {
namespace {

constexpr int kDialogWidth = 687;  // the main window's client area in dialog units
constexpr int kDialogHeight = 421;

int ScaleRounded(int value, int numerator, int denominator) { return MulDiv(value, numerator, denominator); }

struct BaseUnits {
    int x = 0;
    int y = 0;
};

// A quarter of the average letter's width across, an eighth of the em down, as the Linux window.
BaseUnits Measure(HDC dc, HFONT font, int pixels) {
    const HGDIOBJ before = SelectObject(dc, font);
    SIZE alphabet{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    SelectObject(dc, before);
    return {(alphabet.cx / 26 + 1) / 2, pixels};
}

HFONT Face(const std::wstring& family, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, family.c_str());
}

// The face the system gave for the name, and whether it keeps the report's columns.
bool KeepsColumns(HDC dc, HFONT font, const std::wstring& family) {
    const HGDIOBJ before = SelectObject(dc, font);
    wchar_t given[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, given);
    std::vector<int> widths;
    for (const std::string_view probe : app::kCellProbes) {
        const std::wstring text = codec::Wide(probe);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widths.push_back(size.cx);
    }
    SelectObject(dc, before);
    return lstrcmpiW(given, family.c_str()) == 0 && app::KeepsColumns(widths);
}

// The first face of the list there is that keeps the columns at this size; else the first.
HFONT DialogFont(HDC dc, int pixels) {
    for (const std::string_view family : app::DialogFontFamilies()) {
        const std::wstring name = codec::Wide(family);
        HFONT font = Face(name, pixels);
        if (font != nullptr && KeepsColumns(dc, font, name)) return font;
        if (font != nullptr) DeleteObject(font);
    }
    return Face(codec::Wide(app::DialogFontFamilies().front()), pixels);
}

SIZE WindowSize(HWND dialog, BaseUnits units) {
    RECT frame{0, 0, ScaleRounded(kDialogWidth, units.x, 4), ScaleRounded(kDialogHeight, units.y, 8)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), GetMenu(dialog) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

HFONT FitToWorkArea(HWND dialog) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    HDC dc = GetDC(dialog);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    const int pixels = app::FittingFontPixels(MulDiv(app::kDialogFontPixels, dpi, 96), [&](int size) {
        HFONT font = DialogFont(dc, size);
        const SIZE window = WindowSize(dialog, Measure(dc, font, size));
        DeleteObject(font);
        return window.cx <= area.right - area.left && window.cy <= area.bottom - area.top;
    });
    HFONT font = DialogFont(dc, pixels);
    const BaseUnits units = Measure(dc, font, pixels);
    ReleaseDC(dialog, dc);

    // Each control back to its dialog units in the template's font, then out in this one.
    RECT template_{0, 0, 4, 8};
    MapDialogRect(dialog, &template_);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        if (GetDlgCtrlID(child) == IDC_SAMPLE_LIST) {  // its height with the dropped list
            RECT dropped{};
            SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            place.bottom = place.top + (dropped.bottom - dropped.top);
        }
        const int x = MulDiv(place.left, 4, template_.right), y = MulDiv(place.top, 8, template_.bottom);
        const int w = MulDiv(place.right - place.left, 4, template_.right);
        const int h = MulDiv(place.bottom - place.top, 8, template_.bottom);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // A button or check box narrower than its words in this font (the check box's box and
        // gap are the system's, not the font's) grows to the right until they are whole.
        SIZE words{};
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (lstrcmpiW(kind, L"Button") == 0 && type != BS_GROUPBOX) SendMessageW(child, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&words));
        SetWindowPos(child, nullptr, ScaleRounded(x, units.x, 4), ScaleRounded(y, units.y, 8),
                     std::max<int>(ScaleRounded(w, units.x, 4), words.cx), ScaleRounded(h, units.y, 8), SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Centred in the work area; the top left whole when it cannot be.
    SIZE window = WindowSize(dialog, units);
    const int left = area.left + std::max<int>(0, (area.right - area.left - window.cx) / 2);
    const int top = area.top + std::max<int>(0, (area.bottom - area.top - window.cy) / 2);
    SetWindowPos(dialog, nullptr, left, top, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that took two lines: the difference goes to the window.
    RECT client;
    GetClientRect(dialog, &client);
    const int short_ = ScaleRounded(kDialogHeight, units.y, 8) - client.bottom;
    if (short_ != 0) SetWindowPos(dialog, nullptr, 0, 0, window.cx, window.cy + short_, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(dialog, nullptr, TRUE);
    return font;
}

}  // namespace quillon::win32
