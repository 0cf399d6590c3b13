#include "frontend/dialog_units.hpp"

#include <QFontDatabase>
#include <QFontInfo>
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

// One cell for every ASCII character, two for a Chinese one, at this size.
bool HasTwoCellChinese(const QFont& font) {
    const QFontMetrics metrics(font);
    const int cell = metrics.horizontalAdvance(QLatin1Char('M'));
    return cell > 0 && metrics.horizontalAdvance(QLatin1Char('i')) == cell &&
           metrics.horizontalAdvance(QStringLiteral("$$")) == 2 * cell &&
           metrics.horizontalAdvance(QStringLiteral("中")) == 2 * cell &&
           metrics.horizontalAdvance(QStringLiteral("物理和环境")) == 10 * cell;
}

}  // namespace

QFont DialogFont(int pixelSize) {
    // Song style first, like the design's 宋体; then faces that read well at small sizes: Noto's
    // @ is unlike its 0 at 12 px, where WenQuanYi's @@2 reads like 002.
    static const QStringList preferred = {"SimSun", "NSimSun", "宋体", "Noto Sans Mono CJK SC",
                                          "WenQuanYi Zen Hei Mono", "AR PL UMing CN", "AR PL UKai CN"};
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (!installed.contains(family)) continue;
        QFont font(family);
        font.setPixelSize(pixelSize);
        font.setStyleHint(QFont::TypeWriter);
        if (HasTwoCellChinese(font)) return font;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixelSize);
    return font;
}

QFont DialogFontFitting(QSize dialogUnits, QSize extra, QSize available) {
    QFont font = DialogFont();
    for (int size = kDialogFontPixels; size >= 8; size -= 2) {  // even sizes: a Chinese character is two whole cells
        font = DialogFont(size);
        const QSize window = DialogUnits(font).toPixels(dialogUnits.width(), dialogUnits.height()) + extra;
        if (window.width() <= available.width() && window.height() <= available.height()) break;
    }
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (alphabet / 26 + 1) / 2;  // the average width of a letter, rounded
    // The em height, not the line height: faces with tall lines keep the design's proportions.
    baseY_ = QFontInfo(font).pixelSize();
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
    return {ScaleRounded(x, baseX_, 4), ScaleRounded(y, baseY_, 8), ScaleRounded(width, baseX_, 4),
            ScaleRounded(height, baseY_, 8)};
}

QSize DialogUnits::toPixels(int width, int height) const {
    return {ScaleRounded(width, baseX_, 4), ScaleRounded(height, baseY_, 8)};
}

}  // namespace quillon::frontend
