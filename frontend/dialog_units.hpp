// The window is laid out in dialog units, as its design says; they become pixels through the
// dialog font's metrics (a horizontal unit is a quarter of the average character width, a
// vertical unit an eighth of the character height).
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace quillon::frontend {

// 宋体 (SimSun) 9 pt where installed; otherwise a CJK font in which a Chinese character is
// exactly two ASCII cells wide, so that the report's columns line up.
QFont DialogFont();

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
