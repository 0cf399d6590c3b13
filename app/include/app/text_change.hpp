// The part of a text that changed: what lies between the longest common prefix and suffix of
// the old and the new text, widened to whole UTF-8 characters. A view that shows a long report
// replaces only this part; most runs change a few figures of it, or nothing.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace quillon::app {

struct TextChange {
    std::size_t begin = 0;   // byte offset in both texts where they start to differ
    std::size_t oldEnd = 0;  // the old text's changed part ends here,
    std::size_t newEnd = 0;  // and the new one's here; what follows is the same in both
};

inline TextChange ChangedPart(std::string_view old, std::string_view now) {
    const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
    const std::size_t limit = std::min(old.size(), now.size());
    std::size_t prefix = static_cast<std::size_t>(std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(limit),
                                                                now.begin()).first - old.begin());
    while (prefix > 0 && prefix < old.size() && continuation(old[prefix])) --prefix;
    std::size_t suffix = 0;
    while (suffix < limit - prefix && old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) ++suffix;
    while (suffix > 0 && continuation(old[old.size() - suffix])) --suffix;
    return {prefix, old.size() - suffix, now.size() - suffix};
}

}  // namespace quillon::app
