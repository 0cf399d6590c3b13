// The built-in texts both front ends offer: text 1 is the notice, texts 2 to 5 sample scripts.
#pragma once

#include <array>
#include <string_view>

namespace quillon {

struct BuiltInSample {
    std::string_view label;  // as listed in the window's sample list
    std::string_view menuCaption;  // its entry in the 测试向量 menu, command ID_FIRST_SAMPLE + i
    std::string_view text;
    bool scored;             // the notice is shown, never scored
};

inline constexpr int kBuiltInSampleCount = 5;

// Entry i is built-in text i + 1.
extern const std::array<BuiltInSample, kBuiltInSampleCount> BuiltInSamples;
extern const std::string_view NoticeText;

}  // namespace quillon
