#include "frontend/script_highlighter.hpp"

#include <QColor>
#include <QTextCharFormat>
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

void ScriptHighlighter::highlightBlock(const QString& text) {
    for (const CommandColour& c : CommandColours()) {
        if (!text.startsWith(c.prefix)) continue;
        qsizetype end = text.indexOf(QLatin1Char(' '));
        if (end < 0) end = text.size();
        setFormat(0, static_cast<int>(end), c.colour);
        return;
    }
    setFormat(0, static_cast<int>(text.size()), QColor(0x5f, 0x63, 0x68));  // a comment: 6:1 on white
}

}  // namespace quillon::frontend
