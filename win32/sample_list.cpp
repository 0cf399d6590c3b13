#include "win32/sample_list.hpp"

#include <commctrl.h>

#include "codec/wide_text.hpp"
#include "app/builtin_texts.hpp"

namespace quillon::win32 {
namespace {

constexpr UINT_PTR kGuardId = 2;

LRESULT CALLBACK GuardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR list) {
    const auto combo = reinterpret_cast<HWND>(list);
    const bool closed = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == FALSE;
    if (closed && message == WM_MOUSEWHEEL) return 0;
    if (closed && message == WM_KEYDOWN) {
        switch (wParam) {
            case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
                SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
                return 0;
            case VK_HOME: case VK_END:  // in the editable field these move the caret
                if (window == combo) {
                    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
                    return 0;
                }
                break;
            default: break;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void FillSampleList(HWND list) {
    for (const auto& sample : BuiltInSamples) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(codec::Wide(sample.label).c_str()));
    }
    // The closed box is narrower than its labels: the dropped list is as wide as they are.
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const auto& sample : BuiltInSamples) {
        const std::wstring label = codec::Wide(sample.label);
        SIZE size{};
        GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
        widest = std::max(widest, size.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + 2 * GetSystemMetrics(SM_CXVSCROLL)), 0);
}

void GuardClosedList(HWND list) {
    SetWindowSubclass(list, GuardProc, kGuardId, reinterpret_cast<DWORD_PTR>(list));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(list, &info) && info.hwndItem != nullptr) {
        SetWindowSubclass(info.hwndItem, GuardProc, kGuardId, reinterpret_cast<DWORD_PTR>(list));
    }
}

}  // namespace quillon::win32
