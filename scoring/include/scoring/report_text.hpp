// The report of one run: text that only grows, with a cap in GBK bytes. Once an append does not
// fit it is cut at a character boundary and the report takes nothing more.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scoring/limits.hpp"

namespace quillon {

class ReportText {
public:
    void append(std::string_view piece);
    const std::string& text() const { return text_; }
    std::string release() { return std::move(text_); }
    // An append was cut: whatever would follow is lost, so writers need not format it.
    bool truncated() const { return truncated_; }

private:
    std::string text_;
    std::size_t width_ = 0;  // GBK bytes of text_
    bool truncated_ = false;
};

}  // namespace quillon
