// Generated scripts for the benchmarks: unit lines, layer lines, count-form lines, reports,
// echoes and comments in the proportions of a real assessment script, repeated to a size.
#pragma once

#include <cstddef>
#include <string>

namespace quillon::bench {

std::string ScriptMix(std::size_t bytes, unsigned seed = 20261208);

// Scripts of one kind of line only, the worst cases of each handler.
// UnitUnseen: unit lines whose numbers never repeat, so that no token's outcome is remembered.
enum class LineKindMix { Layer, Unit, CountForm, Report100, LevelSetUp, TabJoined, BadLayer, UnitUnseen, Count };
const char* KindName(LineKindMix kind);
std::string ScriptOfKind(LineKindMix kind, std::size_t bytes);

}  // namespace quillon::bench
