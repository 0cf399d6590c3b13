// The most a script may hold: the interpreter cuts a longer text here, and a script file larger
// than this is refused before it is read. Here, below both, so that neither reaches into the other.
#pragma once

#include <cstddef>

namespace quillon {

inline constexpr std::size_t kMaxScriptBytes = 16777215;  // a longer script is cut here

}  // namespace quillon
