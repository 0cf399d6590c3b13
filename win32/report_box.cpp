#include "win32/report_box.hpp"

#include <algorithm>

#include "app/text_change.hpp"
#include "app/utf16_units.hpp"
#include "win32/edit_text.hpp"

namespace quillon::win32 {
namespace {

// The edit control's position of a byte offset: UTF-16 units, each line end two (CR LF).
LPARAM BoxPosition(std::string_view text) {
    return static_cast<LPARAM>(app::Utf16Units(text) + std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

void ReportBox::show(std::string text) {
    if (!shown_) {
        SetBoxText(box_, text);
        shown_ = std::move(text);
        return;
    }
    const std::string_view old(*shown_);
    if (old == text) return;
    const app::TextChange change = app::ChangedPart(old, text);
    const LPARAM begin = BoxPosition(old.substr(0, change.begin));
    const LPARAM end = begin + BoxPosition(old.substr(change.begin, change.oldEnd - change.begin));
    const std::wstring inserted = ForEditBox(std::string_view(text).substr(change.begin, change.newEnd - change.begin));
    // The replacement would scroll to where it happened; the reader stays on the lines shown.
    const LRESULT firstLine = SendMessageW(box_, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(box_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box_, EM_SETSEL, static_cast<WPARAM>(begin), end);
    SendMessageW(box_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(inserted.c_str()));
    SendMessageW(box_, EM_SETSEL, 0, 0);  // a selection belongs to the report it was made in
    SendMessageW(box_, EM_SCROLLCARET, 0, 0);
    SendMessageW(box_, EM_LINESCROLL, 0, firstLine);
    SendMessageW(box_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box_, nullptr, TRUE);
    shown_ = std::move(text);
}

}  // namespace quillon::win32
