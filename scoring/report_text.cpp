#include "scoring/report_text.hpp"

#include "scoring/utf8.hpp"

namespace quillon {

void ReportText::append(std::string_view piece) {
    if (full_) return;
    const std::size_t room = kReportCapBytes - text_.size();
    if (piece.size() <= room) {
        text_.append(piece);
        return;
    }
    text_.append(piece.substr(0, Utf8PrefixLength(piece, room)));
    full_ = true;
}

}  // namespace quillon
