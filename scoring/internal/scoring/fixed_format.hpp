// A double in fixed notation with a given number of decimals, exactly as printf's "%.Nf" writes
// it (the exact binary value, rounded half to even), without printf's dependence on the locale.
// Used where the standard library has no floating-point std::to_chars (the WebAssembly build).
#pragma once

#include <string>

namespace quillon {

std::string ExactFixed(double value, int precision);

}  // namespace quillon
