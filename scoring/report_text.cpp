#include "scoring/report_text.hpp"

#include "text/gbk_width.hpp"

namespace quillon {

void ReportText::append(std::string_view piece) {
    if (truncated_ || piece.empty()) return;
    const std::size_t room = kReportCapBytes - width_;
    const std::size_t fits = GbkPrefixLength(piece, room);
    const std::string_view kept = piece.substr(0, fits);
    text_.append(kept);
    width_ += GbkWidth(kept);
    truncated_ = fits < piece.size();
}

}  // namespace quillon
