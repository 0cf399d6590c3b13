// Quiet colours for the command words of the script box, and the lines with problems of the
// last run underlined, their messages shown as tooltips.
#pragma once

#include <QHash>
#include <QString>
#include <QSyntaxHighlighter>
#include <string>
#include <vector>

#include "frontend/script_mirror.hpp"
#include "script/account.hpp"

namespace quillon::frontend {

class ScriptHighlighter : public QSyntaxHighlighter {
public:
    explicit ScriptHighlighter(QTextDocument* document);

    // The problems of the run over the script box's text; re-draws only the lines whose marks
    // changed.
    void showProblems(const ScriptMirror& script, const ScriptAccount& account);

    // The messages of the line shown as block blockNumber, empty when it has none.
    QString messages(int blockNumber) const { return problems_.value(blockNumber); }

protected:
    void highlightBlock(const QString& text) override;

private:
    QHash<int, QString> problems_;  // block number -> its messages
    std::vector<Problem> shown_;    // the problems they came from
};

}  // namespace quillon::frontend
