#include "frontend/script_highlighter.hpp"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>

namespace quillon::frontend {
namespace {

// The colour of a row's command word; nothing for a comment.
std::optional<QColor> CommandColour(LineKind kind) {
    switch (kind) {
        case LineKind::LevelSetUp: return QColor(0x1f, 0x5f, 0x8b);
        case LineKind::Report: return QColor(0x6a, 0x3d, 0x9a);
        case LineKind::Echo: return QColor(0x8a, 0x6d, 0x3b);
        case LineKind::UnitLine: case LineKind::CountForm: return QColor(0x2e, 0x7d, 0x32);
        case LineKind::LayerLine: return QColor(0x00, 0x79, 0x86);
        case LineKind::Comment: break;
    }
    return std::nullopt;
}

LineKind KindOfBlock(const ScriptHighlighter::KindOf& kindOf, const QTextBlock& block) {
    return kindOf(block.text(), static_cast<std::size_t>(block.blockNumber()));
}

}  // namespace

void ScriptHighlighter::highlightBlock(const QString& text) {
    const LineKind kind = KindOfBlock(kindOf_, currentBlock());
    setCurrentBlockState(static_cast<int>(kind));  // what follow() compares with
    if (const std::optional<QColor> colour = CommandColour(kind)) {
        qsizetype end = text.indexOf(QLatin1Char(' '));
        if (end < 0) end = text.size();
        setFormat(0, static_cast<int>(end), *colour);
        return;
    }
    setFormat(0, static_cast<int>(text.size()), QColor(0x5f, 0x63, 0x68));  // a comment: 6:1 on white
}

void ScriptHighlighter::follow() {
    if (document() == nullptr) return;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.userState() != static_cast<int>(KindOfBlock(kindOf_, block))) rehighlightBlock(block);
    }
}

}  // namespace quillon::frontend
