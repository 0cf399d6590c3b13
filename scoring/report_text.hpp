// The report of one run: text that only grows, with a cap. Once an append does not fit it is
// cut at a character boundary and the report takes nothing more.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::size_t kReportCapBytes = 1048575;

class ReportText {
public:
    void append(std::string_view piece);
    const std::string& text() const { return text_; }
    std::string release() { return std::move(text_); }

private:
    std::string text_;
    bool full_ = false;
};

}  // namespace quillon
