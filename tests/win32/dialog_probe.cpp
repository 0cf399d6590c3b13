// dialog_probe.exe: looks at and works any top-level window by (part of) its title, as the
// installer's test needs: the texts of its controls, a button clicked, a box filled, an entry of
// a component tree ticked or unticked.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "probe_text.hpp"

namespace {

struct Search {
    const wchar_t* title;
    std::vector<HWND> found;
};

// The visible top-level windows whose titles hold the words.
std::vector<HWND> Windows(const wchar_t* title) {
    Search search{title, {}};
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && TextOf(window).find(s->title) != std::wstring::npos) s->found.push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Every visible control of the windows, however deep (a page is a dialog inside the installer's).
std::vector<HWND> Controls(const wchar_t* title) {
    std::vector<HWND> controls;
    for (HWND window : Windows(title)) {
        EnumChildWindows(window, [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        }, reinterpret_cast<LPARAM>(&controls));
    }
    return controls;
}

HWND Control(const wchar_t* title, int id) {
    for (HWND control : Controls(title)) {
        if (GetDlgCtrlID(control) == id) return control;
    }
    return nullptr;
}

int Usage() {
    std::fputs("usage: dialog_probe alive TITLE | texts TITLE | click TITLE ID | set-text TITLE ID TEXT | "
               "tree-toggle TITLE ROW\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 3) return Usage();
    const std::wstring what = argv[1];
    const wchar_t* title = argv[2];
    const int id = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 0)) : 0;
    if (what == L"alive") return Windows(title).empty() ? 1 : 0;
    if (what == L"texts") {  // the title, then a line for each control: id|class|text
        for (HWND window : Windows(title)) Print(Utf8(TextOf(window)) + "\n");
        for (HWND control : Controls(title)) {
            wchar_t kind[64] = {};
            GetClassNameW(control, kind, 64);
            Print(std::to_string(GetDlgCtrlID(control)) + "|" + Utf8(kind) + "|" + Utf8(TextOf(control)) + "\n");
        }
        return 0;
    }
    if (what == L"tree-toggle" && argc > 3) {  // selects the ROW-th entry and presses the space bar on it
        for (HWND tree : Controls(title)) {
            wchar_t kind[64] = {};
            GetClassNameW(tree, kind, 64);
            if (std::wcscmp(kind, WC_TREEVIEWW) != 0) continue;
            auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            for (int row = 0; row < id && item != nullptr; ++row) {
                item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
            }
            if (item == nullptr) return 1;
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            return PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0) ? 0 : 1;
        }
        return 1;
    }
    HWND control = argc > 3 ? Control(title, id) : nullptr;
    if (control == nullptr) return 1;
    if (what == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (what == L"set-text" && argc > 4) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]), SMTO_BLOCK, 10000, &result) ? 0 : 1;
    }
    return Usage();
}
