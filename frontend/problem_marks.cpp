#include "frontend/problem_marks.hpp"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quillon::frontend {

QColor ProblemMarks::LineTint() { return QColor(0xfd, 0xe2, 0xe2); }
QColor ProblemMarks::WordTint() { return QColor(0xf5, 0xa3, 0xa3); }
QColor ProblemMarks::NoteLineTint() { return QColor(0xe3, 0xee, 0xfa); }
QColor ProblemMarks::NoteWordTint() { return QColor(0xa9, 0xc8, 0xee); }

void ProblemMarks::show(const std::vector<app::Mark>& marks) {
    // Most keystrokes leave every mark where it was.
    if (marks == shown_) return;
    shown_ = marks;
    messages_.clear();
    QList<QTextEdit::ExtraSelection> selections;
    QTextDocument* document = box_->document();
    QTextCharFormat line;
    line.setBackground(LineTint());
    line.setProperty(QTextFormat::FullWidthSelection, true);
    QTextCharFormat word;
    word.setBackground(WordTint());
    word.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    word.setUnderlineColor(QColor(0xb7, 0x1c, 0x1c));
    // Notes (where the script departs from the official rules) in blue: not a mistake.
    QTextCharFormat noteLine = line;
    noteLine.setBackground(NoteLineTint());
    QTextCharFormat noteWord = word;
    noteWord.setBackground(NoteWordTint());
    noteWord.setUnderlineColor(QColor(0x15, 0x65, 0xc0));
    int lastRow = -1;
    for (const app::Mark& mark : marks) {
        const int row = static_cast<int>(mark.row);
        const QTextBlock block = document->findBlockByNumber(row);
        if (!block.isValid()) continue;
        QString& text = messages_[row];
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QString::fromStdString(mark.message);
        if (row != lastRow) {
            QTextCursor cursor(block);
            selections.append({cursor, mark.note ? noteLine : line});  // a row's problems come first
            lastRow = row;
        }
        if (mark.end > mark.begin) {
            const int length = block.length() - 1;  // without the block separator
            const int begin = std::min(static_cast<int>(mark.begin), length);
            const int end = std::min(static_cast<int>(mark.end), length);
            QTextCursor cursor(document);
            cursor.setPosition(block.position() + begin);
            cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
            selections.append({cursor, mark.note ? noteWord : word});
        }
    }
    box_->setExtraSelections(selections);
}

}  // namespace quillon::frontend
