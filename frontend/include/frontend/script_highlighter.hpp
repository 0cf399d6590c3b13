// Quiet colours for the command words of the script box; comments in a grey that still reads
// well. A row is coloured by what the model says the interpreter did with it, never by words of
// its own. Problems are marked apart (problem_marks.hpp).
#pragma once

#include <QSyntaxHighlighter>
#include <functional>

#include "script/account.hpp"

namespace quillon::frontend {

class ScriptHighlighter : public QSyntaxHighlighter {
public:
    // What a row (its text and its number from 0) was taken as.
    using KindOf = std::function<LineKind(const QString& row, std::size_t number)>;

    ScriptHighlighter(QTextDocument* document, KindOf kindOf)
        : QSyntaxHighlighter(document), kindOf_(std::move(kindOf)) {}

    // After a run: recolours the rows whose kind is no longer the one they show.
    void follow();

protected:
    void highlightBlock(const QString& text) override;

private:
    KindOf kindOf_;
};

}  // namespace quillon::frontend
