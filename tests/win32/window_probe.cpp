// window_probe.exe: looks at and works quillon.exe's window from another process, as the
// window test needs: control texts and states, clicks, commands, a drop, the open-file dialog
// and the popups. Keys and the window manager's close come from the X side.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>  // DROPFILES

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "probe_text.hpp"

namespace {

constexpr wchar_t kTitle[] = L"基于脚本编码方法的Quillon-";

// The main window, not one of its message boxes, which have its title too.
HWND MainWindow() {
    HWND found = nullptr;
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        if (GetWindow(window, GW_OWNER) != nullptr || std::wcscmp(title, kTitle) != 0) return TRUE;
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The popups of the window's thread: the about box, a message box, the open-file dialog.
std::vector<HWND> Popups(HWND main) {
    // Owned by the window, or by one of its popups: a save dialog over a dialog.
    struct Search { HWND main; std::vector<HWND> windows; } search{main, {}};
    EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (window != s->main && IsWindowVisible(window)) s->windows.push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> owners{main};
    std::vector<HWND> found;
    for (bool more = true; more;) {
        more = false;
        for (HWND window : search.windows) {
            const HWND owner = GetWindow(window, GW_OWNER);
            if (std::find(owners.begin(), owners.end(), owner) == owners.end() ||
                std::find(found.begin(), found.end(), window) != found.end()) {
                continue;
            }
            found.push_back(window);
            owners.push_back(window);
            more = true;
        }
    }
    return found;
}

// Where the system's drag and drop would put it: a DROPFILES block in the window's process.
bool Drop(HWND main, const std::vector<std::wstring>& paths, bool waitForIt) {
    std::vector<char> block(sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const char*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->pt = {40, 40};
    header->fWide = TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(main, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (target == nullptr) return false;
    void* remote = VirtualAllocEx(target, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote != nullptr && WriteProcessMemory(target, remote, block.data(), block.size(), nullptr);
    CloseHandle(target);
    if (!written) return false;
    // Posted when the drop may open a message box, which would hold a sent message.
    if (waitForIt) {
        SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    } else {
        PostMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    }
    return true;
}

// Memory in the window's process, for the list view's messages, which carry pointers.
class RemoteBlock {
public:
    RemoteBlock(HWND window, std::size_t size) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
        if (process_ != nullptr) memory_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteBlock() {
        if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    explicit operator bool() const { return memory_ != nullptr; }
    char* at(std::size_t offset) const { return memory_ + offset; }
    bool write(std::size_t offset, const void* data, std::size_t size) const {
        return WriteProcessMemory(process_, at(offset), data, size, nullptr) != 0;
    }
    bool read(std::size_t offset, void* data, std::size_t size) const {
        return ReadProcessMemory(process_, at(offset), data, size, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    char* memory_ = nullptr;
};

// The list view of a popup (分析's list of units).
HWND PopupList(HWND main) {
    for (HWND popup : Popups(main)) {
        if (HWND list = FindWindowExW(popup, nullptr, WC_LISTVIEWW, nullptr)) return list;
    }
    return nullptr;
}

// Its rows, one a line, each after "[x] " when ticked and "[ ] " when not.
bool PrintList(HWND list) {
    constexpr int kTextUnits = 1024;
    RemoteBlock block(list, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t));
    if (!block) return false;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        LVITEMW item{};
        item.pszText = reinterpret_cast<wchar_t*>(block.at(sizeof(LVITEMW)));
        item.cchTextMax = kTextUnits;
        block.write(0, &item, sizeof item);
        const auto units = static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0))));
        std::wstring text(units, L'\0');
        block.read(sizeof(LVITEMW), text.data(), units * sizeof(wchar_t));
        const auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
        Print(std::string((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? "[x] " : "[ ] ") + Utf8(text) + "\n");
    }
    return true;
}

// Ticks a row's check box, as a click on it would; the list tells its dialog.
bool Tick(HWND list, int row) {
    RemoteBlock block(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    if (!block || !block.write(0, &item, sizeof item)) return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at(0)), SMTO_BLOCK,
                               10000, &result) != 0 && result != 0;
}

// One line a visible control: id, class, place on screen (left top width height), and for a
// button or check box the size its text needs (0 0 for others).
bool PrintLayout(HWND main) {
    RemoteBlock block(main, sizeof(SIZE));
    if (!block) return false;
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        wchar_t kind[64] = {};
        GetClassNameW(child, kind, 64);
        RECT place;
        GetWindowRect(child, &place);
        SIZE ideal{};
        const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (lstrcmpiW(kind, L"Button") == 0 && style != BS_GROUPBOX) {
            block.write(0, &ideal, sizeof ideal);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(child, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(block.at(0)), SMTO_BLOCK, 10000, &result);
            block.read(0, &ideal, sizeof ideal);
        }
        char line[160];
        std::snprintf(line, sizeof line, "%d %s %ld %ld %ld %ld %ld %ld\n", GetDlgCtrlID(child), Utf8(kind).c_str(), place.left,
                      place.top, place.right - place.left, place.bottom - place.top, ideal.cx, ideal.cy);
        Print(line);
    }
    return true;
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LRESULT Length(HWND box) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(box, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 60000, &length);
    return static_cast<LRESULT>(length);
}

// How long the window leaves a message unanswered, polled until `done` holds; the longest wait
// and the time it took, in milliseconds.
template <typename Done>
std::pair<double, double> Watch(HWND main, Done done) {
    const double start = Now();
    double longest = 0;
    // Each turn asks the window twice (here and in `done`); a turn takes as long as it waits.
    for (bool finished = false; !finished && Now() - start < 120000;) {
        const double turn = Now();
        finished = done();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &result);
        Sleep(1);
        longest = std::max(longest, Now() - turn);
    }
    return {longest, Now() - start};
}

// Keystrokes typed at the script's end (posted, as the keyboard does), `gap` ms apart, the
// script ending in an echo line so that each one changes the report: the time from the last key
// until the report holds every key, and the longest the window left a message unanswered.
void TimeTyping(HWND main, int keys, int gap) {
    HWND script = GetDlgItem(main, 1000), report = GetDlgItem(main, 1001);
    const LRESULT scriptLength = Length(script), reportLength = Length(report);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(script, EM_SETSEL, static_cast<WPARAM>(scriptLength), scriptLength, SMTO_BLOCK, 60000, &result);
    double longest = 0;
    for (int key = 0; key < keys; ++key) {
        PostMessageW(script, WM_CHAR, L'x', 1);
        const double typed = Now();
        while (Now() - typed < gap) {
            const double asked = Now();
            SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &result);
            longest = std::max(longest, Now() - asked);
            Sleep(1);
        }
    }
    const auto [waited, took] = Watch(main, [&] { return Length(report) >= reportLength + keys; });
    const bool whole = Length(script) == scriptLength + keys && Length(report) == reportLength + keys;
    char line[160];
    std::snprintf(line, sizeof line, "last key to report %.1f ms, longest unanswered %.1f ms, every key in: %s\n", took,
                  std::max(longest, waited), whole ? "yes" : "no");
    Print(line);
}

// A dropped file: when its report is shown, when the script box holds it, the longest wait.
void TimeDrop(HWND main, const std::wstring& path, LRESULT units) {
    HWND script = GetDlgItem(main, 1000), report = GetDlgItem(main, 1001);
    const double start = Now();
    Drop(main, {path}, false);
    double reported = 0;
    const auto [longest, took] = Watch(main, [&] {
        if (reported == 0 && Length(report) > 4 && Length(script) > 0) reported = Now() - start;  // no longer NULL
        return Length(script) >= units;
    });
    char line[160];
    std::snprintf(line, sizeof line, "report %.1f ms, script %.1f ms, longest unanswered %.1f ms (%ld of %ld units)\n", reported, took,
                  longest, static_cast<long>(Length(script)), static_cast<long>(units));
    Print(line);
}

int Usage() {
    std::fputs("usage: window_probe alive | state | text ID | rect ID | popups | click ID | command ID | syscommand ID |\n"
               "       select INDEX | drop PATH... | post-drop PATH... | open PATH | popup-ok | popup-cancel |\n"
               "       popup-button TEXT | popup-list | popup-tick ROW | layout | workarea | client | menu-open |\n"
               "       popup-combos | time-typing KEYS GAP_MS | time-drop PATH UNITS\n", stderr);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return Usage();
    const std::wstring what = argv[1];
    HWND main = MainWindow();
    if (what == L"alive") return main != nullptr && IsWindowVisible(main) ? 0 : 1;
    if (main == nullptr) {
        std::fputs("window_probe: no window\n", stderr);
        return 3;
    }
    const int id = argc > 2 ? std::wcstol(argv[2], nullptr, 0) : 0;
    if (what == L"state") {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
        // The control that holds the focus (the sample list's field is a child of the list);
        // 0 when none does.
        HWND focus = thread.hwndFocus;
        while (focus != nullptr && GetParent(focus) != main) focus = GetParent(focus);
        const int focusId = focus == nullptr ? 0 : GetDlgCtrlID(focus);
        RECT frame;
        GetWindowRect(main, &frame);
        char line[256];
        std::snprintf(line, sizeof line, "realtime=%d compute=%d sample=%d focus=%d minimised=%d size=%ldx%ld popups=%d\n",
                      static_cast<int>(SendMessageW(GetDlgItem(main, 1003), BM_GETCHECK, 0, 0)),
                      IsWindowEnabled(GetDlgItem(main, 1002)) ? 1 : 0,
                      static_cast<int>(SendMessageW(GetDlgItem(main, 1006), CB_GETCURSEL, 0, 0)), focusId,
                      IsIconic(main) ? 1 : 0, frame.right - frame.left, frame.bottom - frame.top,
                      static_cast<int>(Popups(main).size()));
        Print(line);
        return 0;
    }
    if (what == L"text" && argc > 2) {
        Print(Utf8(TextOf(id == 0 ? main : GetDlgItem(main, id))));
        return 0;
    }
    if (what == L"rect" && argc > 2) {  // on screen: left top width height; 0 the window's
        RECT rect;
        GetWindowRect(id == 0 ? main : GetDlgItem(main, id), &rect);
        char line[96];
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        Print(line);
        return 0;
    }
    if (what == L"popups") {  // one a line: the title, then the texts of its controls
        for (HWND popup : Popups(main)) {
            std::wstring line = TextOf(popup);
            for (HWND child = GetWindow(popup, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                line += L"|" + TextOf(child);
            }
            Print(Utf8(line) + "\n");
        }
        return 0;
    }
    if (what == L"click" && argc > 2) {
        PostMessageW(GetDlgItem(main, id), BM_CLICK, 0, 0);
        return 0;
    }
    if (what == L"command" && argc > 2) {
        PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    }
    if (what == L"syscommand" && argc > 2) {
        PostMessageW(main, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    }
    if (what == L"select" && argc > 2) {  // as a pick in the dropped list ends
        HWND list = GetDlgItem(main, 1006);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(id), 0);
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(1006, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
        return 0;
    }
    if (what == L"drop" || what == L"post-drop") {
        std::vector<std::wstring> paths(argv + 2, argv + argc);
        return Drop(main, paths, what == L"drop") ? 0 : 1;
    }
    if (what == L"open" && argc > 2) {  // types the path into the open-file dialog and opens it
        for (HWND popup : Popups(main)) {
            HWND name = GetDlgItem(popup, 0x47c);  // the file name's combo box
            if (name == nullptr) name = GetDlgItem(popup, 0x480);
            if (name == nullptr) continue;
            SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
            PostMessageW(popup, WM_COMMAND, IDOK, 0);
            return 0;
        }
        return 1;
    }
    if (what == L"popup-ok") {
        for (HWND popup : Popups(main)) PostMessageW(popup, WM_COMMAND, IDOK, 0);
        return 0;
    }
    if (what == L"popup-button" && argc > 2) {  // clicks a popup's button by its words
        struct Search { const wchar_t* words; HWND found; } search{argv[2], nullptr};
        for (HWND popup : Popups(main)) {
            EnumChildWindows(popup, [](HWND child, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (TextOf(child) != s->words) return TRUE;
                s->found = child;
                return FALSE;
            }, reinterpret_cast<LPARAM>(&search));
        }
        if (search.found == nullptr) return 1;
        PostMessageW(search.found, BM_CLICK, 0, 0);
        return 0;
    }
    if (what == L"popup-list") {
        HWND list = PopupList(main);
        return list != nullptr && PrintList(list) ? 0 : 1;
    }
    if (what == L"popup-tick" && argc > 2) {
        HWND list = PopupList(main);
        return list != nullptr && Tick(list, id) ? 0 : 1;
    }
    if (what == L"layout") return PrintLayout(main) ? 0 : 1;
    if (what == L"time-typing" && argc > 3) {
        TimeTyping(main, id, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
        return 0;
    }
    if (what == L"time-drop" && argc > 3) {
        TimeDrop(main, argv[2], std::wcstol(argv[3], nullptr, 10));
        return 0;
    }
    if (what == L"workarea" || what == L"client") {  // left top width height on screen
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTOPRIMARY), &monitor);
        RECT rect = monitor.rcWork;
        if (what == L"client") {
            GetClientRect(main, &rect);
            MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        }
        char line[96];
        std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        Print(line);
        return 0;
    }
    if (what == L"menu-open") {  // a dropped menu of the window's thread is on screen
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread);
        HWND menu = FindWindowW(L"#32768", nullptr);
        const bool shown = menu != nullptr && IsWindowVisible(menu) &&
                           GetWindowThreadProcessId(menu, nullptr) == GetWindowThreadProcessId(main, nullptr);
        return shown || (thread.flags & GUI_POPUPMENUMODE) != 0 ? 0 : 1;
    }
    if (what == L"popup-combos") {  // every item of the popups' combo boxes, one a line
        for (HWND popup : Popups(main)) {
            EnumChildWindows(popup, [](HWND child, LPARAM) -> BOOL {
                wchar_t kind[32] = {};
                GetClassNameW(child, kind, 32);
                if (lstrcmpiW(kind, L"ComboBox") != 0) return TRUE;
                const auto count = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
                for (int item = 0; item < count; ++item) {
                    const auto units = static_cast<std::size_t>(SendMessageW(child, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0));
                    std::wstring text(units + 1, L'\0');
                    DWORD_PTR copied = 0;
                    SendMessageTimeoutW(child, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()),
                                        SMTO_BLOCK, 10000, &copied);
                    text.resize(copied);
                    Print(std::to_string(GetDlgCtrlID(child)) + " " + Utf8(text) + "\n");
                }
                return TRUE;
            }, 0);
        }
        return 0;
    }
    if (what == L"popup-cancel") {
        for (HWND popup : Popups(main)) PostMessageW(popup, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return Usage();
}
