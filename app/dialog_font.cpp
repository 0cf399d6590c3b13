#include "app/dialog_font.hpp"

#include <array>
#include <cstddef>

namespace quillon::app {

std::span<const std::string_view> DialogFontFamilies() {
    // Song style first, like the design's 宋体; then faces that read well at small sizes: Noto's
    // @ is unlike its 0 at 12 px, where WenQuanYi's @@2 reads like 002.
    static constexpr std::array<std::string_view, 7> kFamilies = {
        "SimSun", "NSimSun", "宋体", "Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono", "AR PL UMing CN", "AR PL UKai CN"};
    return kFamilies;
}

bool KeepsColumns(std::span<const int> widths) {
    if (widths.size() != std::size(kCellProbeCells) || widths[0] <= 0) return false;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        if (widths[k] != kCellProbeCells[k] * widths[0]) return false;
    }
    return true;
}

int FittingFontPixels(int largest, const std::function<bool(int pixels)>& fits) {
    int size = largest - largest % 2;
    while (size > kSmallestDialogFontPixels && !fits(size)) size -= 2;
    return size < kSmallestDialogFontPixels ? kSmallestDialogFontPixels : size;
}

}  // namespace quillon::app
