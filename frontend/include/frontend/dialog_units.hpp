// The window is laid out in dialog units, as its design says; they become pixels through the
// dialog font's metrics (a horizontal unit is a quarter of the average character width, a
// vertical unit an eighth of the font's em height).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "app/dialog_font.hpp"

namespace quillon::frontend {

inline constexpr int kDialogFontPixels = app::kDialogFontPixels;

// The first installed font of the windows' list (宋体 first, as the design has it) in which,
// measured, every ASCII character takes one cell and a Chinese character exactly two, so that
// the report's columns line up.
QFont DialogFont(int pixelSize = kDialogFontPixels);

// The dialog font at the largest size up to the design's at which a window of the given size
// in dialog units (plus `extra` pixels of frame and menu) fits in `available`.
QFont DialogFontFitting(QSize dialogUnits, QSize extra, QSize available);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect toPixels(int x, int y, int width, int height) const;
    QSize toPixels(int width, int height) const;
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};

}  // namespace quillon::frontend
