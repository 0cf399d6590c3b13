#include "frontend/script_highlighter.hpp"

#include <QColor>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <algorithm>
#include <array>

namespace quillon::frontend {
namespace {

struct CommandColour {
    QLatin1StringView prefix;
    QColor colour;
};

const std::array<CommandColour, 5>& CommandColours() {
    static const std::array<CommandColour, 5> colours = {{
        {QLatin1StringView("mpinit="), QColor(0x1f, 0x5f, 0x8b)},
        {QLatin1StringView("mpout"), QColor(0x6a, 0x3d, 0x9a)},
        {QLatin1StringView("mpec"), QColor(0x8a, 0x6d, 0x3b)},
        {QLatin1StringView("$$"), QColor(0x2e, 0x7d, 0x32)},
        {QLatin1StringView("@@"), QColor(0x00, 0x79, 0x86)},
    }};
    return colours;
}

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::highlightBlock(const QString& text) {
    QTextCharFormat base;
    const QString message = problems_.value(currentBlock().blockNumber());
    if (!message.isEmpty()) {
        base.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        base.setUnderlineColor(QColor(0xd3, 0x2f, 0x2f));
    }
    bool command = false;
    for (const CommandColour& c : CommandColours()) {
        if (!text.startsWith(c.prefix)) continue;
        qsizetype end = text.indexOf(QLatin1Char(' '));
        if (end < 0) end = text.size();
        QTextCharFormat word = base;
        word.setForeground(c.colour);
        setFormat(0, static_cast<int>(end), word);
        if (!message.isEmpty()) setFormat(static_cast<int>(end), static_cast<int>(text.size() - end), base);
        command = true;
        break;
    }
    if (!command) {
        QTextCharFormat comment = base;
        comment.setForeground(QColor(0x80, 0x80, 0x80));
        setFormat(0, static_cast<int>(text.size()), comment);
    }
}

void ScriptHighlighter::showProblems(const ScriptMirror& script, const ScriptAccount& account) {
    // Most keystrokes leave every problem where it was (same line, same place in the text).
    if (account.problems == shown_) return;
    shown_ = account.problems;
    QHash<int, QString> problems;
    // Byte offsets become positions in the document (UTF-16 code units), walking forward once.
    std::size_t byte = 0;
    qsizetype position = 0;
    for (const Problem& p : account.problems) {
        position += script.unitsBetween(byte, p.offset);
        byte = std::max(byte, p.offset);
        const int block = document()->findBlock(static_cast<int>(position)).blockNumber();
        QString& text = problems[block];
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("警告[%1]: %2")
                    .arg(QString::fromLatin1(p.code.data(), static_cast<qsizetype>(p.code.size())),
                         QString::fromStdString(p.message));
    }
    if (problems == problems_) return;
    QList<int> changed;
    for (auto it = problems_.cbegin(); it != problems_.cend(); ++it) {
        if (problems.value(it.key()) != it.value()) changed.append(it.key());
    }
    for (auto it = problems.cbegin(); it != problems.cend(); ++it) {
        if (!problems_.contains(it.key())) changed.append(it.key());
    }
    problems_ = std::move(problems);
    for (const int block : changed) rehighlightBlock(document()->findBlockByNumber(block));
}

}  // namespace quillon::frontend
