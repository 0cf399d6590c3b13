// Checks for the run's account on how a line was read: lines that look like commands but are
// comments, and words that a TAB or another control byte glued together.
#pragma once

#include <string_view>

#include "scoring/diagnostics.hpp"

namespace quillon {

// A comment line that a reader would take for a command: a blank before the command word, the
// command word in the wrong case, or "mpinit=" with a level outside 1 to 4.
void NoteComment(std::string_view line, const Diagnostics& diagnostics);

// Characters that look like what the script language reads but are not: full-width letters,
// digits and punctuation, space-like characters that separate nothing, commas between words.
void NoteLookalikes(std::string_view line, LineKind kind, const Diagnostics& diagnostics);

// For a line from which control bytes were dropped: the collected line has fewer words than its
// raw bytes, because the dropped bytes (TAB above all) joined words that they separated.
void NoteGluedWords(std::string_view line, std::string_view raw, const Diagnostics& diagnostics);

}  // namespace quillon
