#include "frontend/dialog_units.hpp"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace quillon::frontend {
namespace {

// Rounds value * numerator / denominator to the nearest integer, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

QFont DialogFont() {
    // Song style first, like the design's 宋体; each of these draws CJK at twice the ASCII width.
    static const QStringList preferred = {"SimSun", "宋体", "NSimSun", "AR PL UMing CN",
                                          "WenQuanYi Zen Hei Mono"};
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (installed.contains(family)) {
            QFont font(family);
            font.setPointSize(9);
            font.setStyleHint(QFont::TypeWriter);
            return font;
        }
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (alphabet / 26 + 1) / 2;  // the average width of a letter, rounded
    baseY_ = metrics.height();
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
    return {ScaleRounded(x, baseX_, 4), ScaleRounded(y, baseY_, 8), ScaleRounded(width, baseX_, 4),
            ScaleRounded(height, baseY_, 8)};
}

QSize DialogUnits::toPixels(int width, int height) const {
    return {ScaleRounded(width, baseX_, 4), ScaleRounded(height, baseY_, 8)};
}

}  // namespace quillon::frontend
