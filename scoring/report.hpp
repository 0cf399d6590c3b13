// The score report: re-tally every layer, form the total out of 100, count compliance and
// append the layer lines, the summary and optionally table 5-2.
#pragma once

#include <cstdint>
#include <string_view>

#include "scoring/diagnostics.hpp"
#include "scoring/report_text.hpp"
#include "scoring/score_store.hpp"

namespace quillon {

// line begins "mpout"; a sixth byte 1 to 4 switches the level first. flags: the ReportFlags.
void WriteScoreReport(ScoreStore& store, std::string_view line, ReportText& report,
                      std::uint32_t flags, const Diagnostics& diagnostics);

}  // namespace quillon
