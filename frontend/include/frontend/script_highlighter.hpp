// Quiet colours for the command words of the script box; comments in a grey that still reads
// well. Problems are marked apart (problem_marks.hpp).
#pragma once

#include <QSyntaxHighlighter>

namespace quillon::frontend {

class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace quillon::frontend
