#include "win32/script_marks.hpp"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "codec/wide_text.hpp"
#include "win32/edit_text.hpp"

namespace quillon::win32 {
namespace {

constexpr COLORREF kLineTint = RGB(0xfd, 0xe2, 0xe2);
constexpr COLORREF kWordTint = RGB(0xf5, 0xa3, 0xa3);
constexpr COLORREF kUnderline = RGB(0xb7, 0x1c, 0x1c);
// Notes (where the script departs from the official rules) in blue: not a mistake.
constexpr COLORREF kNoteLineTint = RGB(0xe3, 0xee, 0xfa);
constexpr COLORREF kNoteWordTint = RGB(0xa9, 0xc8, 0xee);
constexpr COLORREF kNoteUnderline = RGB(0x15, 0x65, 0xc0);
constexpr DWORD kBrushAndDestination = 0x00A000C9;  // white turns to the tint, text stays dark
constexpr UINT_PTR kSubclassId = 1;

HFONT BoxFont(HWND box) { return reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)); }

int LineHeight(HWND box) {
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, BoxFont(box));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return std::max<int>(1, metrics.tmHeight);
}

// The left edge of character `index` (from the text's start) on screen, or nothing past the
// text's last character.
std::optional<int> CharLeft(HWND box, LRESULT index) {
    const LRESULT at = SendMessageW(box, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
    if (at == -1) return std::nullopt;
    return static_cast<short>(LOWORD(at));
}

// Where the text of row `row` ends on screen: after its last character.
int RowRight(HWND box, std::size_t row, LRESULT start, LRESULT length) {
    if (const auto next = CharLeft(box, start + length)) return *next;  // the line end's place
    std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
    line[0] = static_cast<wchar_t>(line.size());
    SendMessageW(box, EM_GETLINE, row, reinterpret_cast<LPARAM>(line.data()));
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, BoxFont(box));
    SIZE size{};
    GetTextExtentPoint32W(dc, &line[static_cast<std::size_t>(length) - 1], 1, &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return CharLeft(box, start + length - 1).value_or(0) + size.cx;
}

}  // namespace

ScriptMarks::ScriptMarks(HWND box, WordTipSource tipOf, RowsShown rowsShown)
    : box_(box), tipOf_(std::move(tipOf)), rowsShown_(std::move(rowsShown)) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(box), nullptr,
                               nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(box);
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 800);
    SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
    SetWindowSubclass(box_, BoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ScriptMarks::~ScriptMarks() { RemoveWindowSubclass(box_, BoxProc, kSubclassId); }

void ScriptMarks::show(const std::vector<app::Mark>& marks) {
    if (marks == marks_) return;  // most keystrokes leave every mark where it was
    marks_ = marks;
    messages_.clear();
    for (const app::Mark& mark : marks_) {
        std::wstring& text = messages_[static_cast<int>(mark.row)];
        if (!text.empty()) text += L"\r\n";
        text += codec::Wide(mark.message);
    }
    tooltipRow_ = -2;  // the tooltip's text is looked up again at the next mouse move
    InvalidateRect(box_, nullptr, TRUE);
}

LRESULT CALLBACK ScriptMarks::BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* marks = reinterpret_cast<ScriptMarks*>(self);
    switch (message) {
        case WM_PAINT: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            marks->paint();
            return result;
        }
        case WM_MOUSEMOVE:
            marks->followMouse(lParam);
            break;
        // Scrolling and typing move the text under the tints: the box is drawn again whole.
        case WM_VSCROLL: case WM_HSCROLL: case WM_MOUSEWHEEL: case WM_KEYDOWN: case WM_CHAR: case EM_SETSEL:
        case EM_SCROLLCARET: case EM_LINESCROLL: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            InvalidateRect(box, nullptr, FALSE);  // also to tell the rows now in view
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

void ScriptMarks::paint() {
    RECT client;
    GetClientRect(box_, &client);
    const int lineHeight = LineHeight(box_);
    const auto first = static_cast<std::size_t>(SendMessageW(box_, EM_GETFIRSTVISIBLELINE, 0, 0));
    const std::size_t last = first + static_cast<std::size_t>(client.bottom / lineHeight) + 1;
    if (rowsShown_) rowsShown_(first, last);
    if (marks_.empty()) return;
    const auto lines = static_cast<std::size_t>(SendMessageW(box_, EM_GETLINECOUNT, 0, 0));
    HDC dc = GetDC(box_);
    HBRUSH lineBrushes[] = {CreateSolidBrush(kLineTint), CreateSolidBrush(kNoteLineTint)};
    HBRUSH wordBrushes[] = {CreateSolidBrush(kWordTint), CreateSolidBrush(kNoteWordTint)};
    HPEN underlines[] = {CreatePen(PS_SOLID, 1, kUnderline), CreatePen(PS_SOLID, 1, kNoteUnderline)};
    HGDIOBJ oldPen = SelectObject(dc, underlines[0]);
    HGDIOBJ oldBrush = SelectObject(dc, lineBrushes[0]);
    std::size_t tintedRow = lines;
    for (const app::Mark& mark : marks_) {
        if (mark.row < first || mark.row > last || mark.row >= lines) continue;
        const int y = static_cast<int>(mark.row - first) * lineHeight;
        const unsigned kind = mark.note ? 1 : 0;
        if (mark.row != tintedRow) {  // a row's problems come first: they decide its tint
            SelectObject(dc, lineBrushes[kind]);
            PatBlt(dc, client.left, y, client.right - client.left, lineHeight, kBrushAndDestination);
            tintedRow = mark.row;
        }
        const LRESULT start = SendMessageW(box_, EM_LINEINDEX, mark.row, 0);
        const LRESULT length = SendMessageW(box_, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        if (mark.end <= mark.begin || length == 0) continue;
        const LRESULT begin = std::min<LRESULT>(static_cast<LRESULT>(mark.begin), length);
        const LRESULT end = std::min<LRESULT>(static_cast<LRESULT>(mark.end), length);
        if (begin >= end) continue;
        const int left = CharLeft(box_, start + begin).value_or(0);
        const int right = end < length ? CharLeft(box_, start + end).value_or(left) : RowRight(box_, mark.row, start, length);
        SelectObject(dc, wordBrushes[kind]);
        SelectObject(dc, underlines[kind]);
        PatBlt(dc, left, y, right - left, lineHeight, kBrushAndDestination);
        MoveToEx(dc, left, y + lineHeight - 1, nullptr);
        LineTo(dc, right, y + lineHeight - 1);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    for (unsigned kind = 0; kind < 2; ++kind) {
        DeleteObject(underlines[kind]);
        DeleteObject(wordBrushes[kind]);
        DeleteObject(lineBrushes[kind]);
    }
    ReleaseDC(box_, dc);
}

// The tooltip shows what the word under the mouse sets and the messages of its line.
void ScriptMarks::followMouse(LPARAM position) {
    const LRESULT at = SendMessageW(box_, EM_CHARFROMPOS, 0, position);
    const int y = static_cast<short>(HIWORD(position));
    const int row = static_cast<int>(SendMessageW(box_, EM_GETFIRSTVISIBLELINE, 0, 0)) + std::max(0, y) / LineHeight(box_);
    const LRESULT start = SendMessageW(box_, EM_LINEINDEX, static_cast<WPARAM>(row), 0);
    // EM_CHARFROMPOS counts in 16 bits; the row's start puts the low part back in place.
    const LRESULT low = static_cast<LRESULT>(LOWORD(at));
    LRESULT index = (start & ~LRESULT{0xFFFF}) | low;
    if (index < start) index += 0x10000;
    const auto column = static_cast<std::size_t>(std::max<LRESULT>(0, index - start));
    // The model's tip may take more than one line (LF); its lines break as the messages' do.
    std::wstring text = ForEditBox(tipOf_ ? tipOf_(static_cast<std::size_t>(row), column) : std::string());
    const auto found = messages_.find(row);
    if (found != messages_.end()) text += (text.empty() ? L"" : L"\r\n") + found->second;
    if (row == tooltipRow_ && text == tooltipText_) return;
    tooltipRow_ = row;
    tooltipText_ = std::move(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(box_);
    tool.uId = reinterpret_cast<UINT_PTR>(box_);
    tool.lpszText = tooltipText_.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_ACTIVATE, tooltipText_.empty() ? FALSE : TRUE, 0);
}

}  // namespace quillon::win32
