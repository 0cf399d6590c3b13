// Blank-delimited words of a line. Only the ASCII blank separates words: control bytes are
// already gone when a line reaches the handlers.
#pragma once

#include <string_view>

#include "scoring/byte_words.hpp"

namespace quillon {

// Every line is tried against the command words: a loop over a few bytes, the first of which
// rules out most words, costs less than a call to compare them.
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (text[i] != prefix[i]) return false;
    }
    return true;
}

class WordCursor {
public:
    explicit WordCursor(std::string_view text) : text_(text) {}

    // The next word, or an empty view when none is left.
    std::string_view next() {
        while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
        const std::size_t start = pos_;
        while (pos_ + 8 <= text_.size()) {  // eight bytes at a time to the next blank
            const unsigned inWord = bytes::FirstByteEqual(bytes::Load(text_.data() + pos_), ' ');
            pos_ += inWord;
            if (inWord < 8) break;
        }
        while (pos_ < text_.size() && text_[pos_] != ' ') ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // Everything after the last word taken.
    std::string_view rest() const { return text_.substr(pos_); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace quillon
