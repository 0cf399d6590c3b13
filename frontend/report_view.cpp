#include "frontend/report_view.hpp"

#include <QTextCursor>
#include <algorithm>

#include "app/utf16_units.hpp"

namespace quillon::frontend {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

QString FromUtf8(const std::string& text, std::size_t begin, std::size_t end) {
    return QString::fromUtf8(text.data() + begin, static_cast<qsizetype>(end - begin));
}

}  // namespace

ReportView::ReportView(QPlainTextEdit* box) : box_(box) { box_->setUndoRedoEnabled(false); }

void ReportView::show(std::string text) {
    QTextCursor caret = box_->textCursor();  // a selection belongs to the report it was made in
    if (caret.hasSelection()) {
        caret.clearSelection();
        box_->setTextCursor(caret);
    }
    if (!shown_) {
        box_->setPlainText(FromUtf8(text, 0, text.size()));
        shown_ = std::move(text);
        return;
    }
    const std::string& old = *shown_;
    if (old == text) return;

    // The changed part: what lies between the longest common prefix and suffix, widened to
    // whole characters.
    const std::size_t limit = std::min(old.size(), text.size());
    std::size_t prefix = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(limit), text.begin()).first - old.begin());
    while (prefix > 0 && (prefix < old.size() && IsContinuationByte(old[prefix]))) --prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix]) ++suffix;
    while (suffix > 0 && IsContinuationByte(old[old.size() - suffix])) --suffix;

    const std::string_view shown(old);
    const auto begin = static_cast<int>(app::Utf16Units(shown.substr(0, prefix)));
    const auto end = begin + static_cast<int>(app::Utf16Units(shown.substr(prefix, old.size() - suffix - prefix)));
    QTextCursor cursor(box_->document());
    cursor.setPosition(begin);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(FromUtf8(text, prefix, text.size() - suffix));
    shown_ = std::move(text);
}

}  // namespace quillon::frontend
