#include "frontend/dialog_units.hpp"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>
#include <vector>

#include "app/dialog_font.hpp"

namespace quillon::frontend {
namespace {

// Rounds value * numerator / denominator to the nearest integer, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

bool HasTwoCellChinese(const QFont& font) {
    const QFontMetrics metrics(font);
    std::vector<int> widths;
    for (const std::string_view probe : app::kCellProbes) {
        widths.push_back(metrics.horizontalAdvance(QString::fromUtf8(probe.data(), static_cast<qsizetype>(probe.size()))));
    }
    return app::KeepsColumns(widths);
}

}  // namespace

QFont DialogFont(int pixelSize) {
    const QStringList installed = QFontDatabase::families();
    for (const std::string_view name : app::DialogFontFamilies()) {
        const QString family = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
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
    return DialogFont(app::FittingFontPixels(kDialogFontPixels, [&](int pixels) {
        const QSize window = DialogUnits(DialogFont(pixels)).toPixels(dialogUnits.width(), dialogUnits.height()) + extra;
        return window.width() <= available.width() && window.height() <= available.height();
    }));
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
