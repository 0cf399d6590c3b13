#include "frontend/report_view.hpp"

#include <QScrollBar>
#include <QTextCursor>

#include "app/text_change.hpp"
#include "app/utf16_units.hpp"

namespace quillon::frontend {
namespace {

QString FromUtf8(const std::string& text, std::size_t begin, std::size_t end) {
    return QString::fromUtf8(text.data() + begin, static_cast<qsizetype>(end - begin));
}

}  // namespace

ReportView::ReportView(QPlainTextEdit* box) : box_(box) { box_->setUndoRedoEnabled(false); }

void ReportView::show(std::string text, bool fromTop) {
    put(std::move(text));
    if (fromTop) {
        box_->moveCursor(QTextCursor::Start);
        box_->verticalScrollBar()->setValue(0);
        box_->horizontalScrollBar()->setValue(0);
    }
}

void ReportView::put(std::string text) {
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
    const std::string_view old(*shown_);
    if (old == text) return;
    const app::TextChange change = app::ChangedPart(old, text);
    const auto begin = static_cast<int>(app::Utf16Units(old.substr(0, change.begin)));
    const auto end = begin + static_cast<int>(app::Utf16Units(old.substr(change.begin, change.oldEnd - change.begin)));
    QTextCursor cursor(box_->document());
    cursor.setPosition(begin);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.insertText(FromUtf8(text, change.begin, change.newEnd));
    shown_ = std::move(text);
}

}  // namespace quillon::frontend
