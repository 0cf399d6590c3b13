// The limits of a run. Each counts the bytes the text takes in GBK (gbk_width.hpp), and a cut
// never splits a character.
#pragma once

#include <cstddef>

#include "text/script_limit.hpp"  // kMaxScriptBytes

namespace quillon {

inline constexpr std::size_t kMaxLineBytes = 1999;        // the rest of a longer line is dropped
inline constexpr std::size_t kMaxTokenBytes = 63;         // an object token is cut to this
inline constexpr std::size_t kLayerWordMaxBytes = 199;    // a layer line's word is cut to this
inline constexpr std::size_t kReportCapBytes = 1048575;   // the report takes nothing more

}  // namespace quillon
