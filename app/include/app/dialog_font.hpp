// The windows' dialog font: which faces, at which size. Each window measures the faces itself;
// the choice is made here, so that both windows choose alike.
#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace quillon::app {

// The design's 9 points on a 96 dpi screen, in pixels; even, so that a Chinese character is
// exactly two ASCII cells.
inline constexpr int kDialogFontPixels = 12;
inline constexpr int kSmallestDialogFontPixels = 8;

// Song style first, like the design's 宋体; then faces that read well at small sizes.
std::span<const std::string_view> DialogFontFamilies();

// The texts a face is measured with: every ASCII character one cell (the first two, one
// character each), a Chinese character two, the last five Chinese characters ten.
inline constexpr std::string_view kCellProbes[] = {"M", "i", "$$", "中", "物理和环境"};
inline constexpr int kCellProbeCells[] = {1, 1, 2, 2, 10};
// Whether widths measured for kCellProbes, in order, keep the report's columns.
bool KeepsColumns(std::span<const int> widths);

// The largest even size from `largest` down to the smallest at which fits(size) holds; the
// smallest when none does.
int FittingFontPixels(int largest, const std::function<bool(int pixels)>& fits);

}  // namespace quillon::app
