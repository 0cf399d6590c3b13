// The marks of the model on the script box: each problem line tinted across the box's width,
// the word it is about tinted darker and underlined, and the line's messages as its tooltip.
// Drawn as the box's extra selections, so they show in any font and at any size.
#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <QString>
#include <vector>

#include "app/marks.hpp"

namespace quillon::frontend {

class ProblemMarks {
public:
    explicit ProblemMarks(QPlainTextEdit* box) : box_(box) {}

    void show(const std::vector<app::Mark>& marks);
    // The messages of the line shown as block blockNumber, empty when it has none.
    QString messages(int blockNumber) const { return messages_.value(blockNumber); }

    static QColor LineTint();
    static QColor WordTint();
    static QColor NoteLineTint();
    static QColor NoteWordTint();

private:
    QPlainTextEdit* box_;
    std::vector<app::Mark> shown_;
    QHash<int, QString> messages_;  // block number -> its messages
};

}  // namespace quillon::frontend
