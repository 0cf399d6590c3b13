#include "scoring/report_memo.hpp"

#include <cstring>

#include "scoring/report.hpp"

namespace quillon {
namespace {

// What a report reads of the model.
bool SameInputs(const ScoreStore& a, const ScoreStore& b) {
    if (a.AssessmentLevel != b.AssessmentLevel || a.UnitCountString != b.UnitCountString) return false;
    if (std::memcmp(&a.UnitWeights, &b.UnitWeights, sizeof a.UnitWeights) != 0) return false;
    for (int k = 0; k < kLayerCount; ++k) {
        const auto& x = a.LayerRows[static_cast<unsigned>(k)].UnitScores;
        const auto& y = b.LayerRows[static_cast<unsigned>(k)].UnitScores;
        if (std::memcmp(x.data(), y.data(), sizeof x) != 0) return false;
    }
    return true;
}

// The store as a report left it: every field, so that a field added later is carried too,
// except the unit tally records, which a report never touches and later lines may have written.
void CopyResults(const ScoreStore& from, ScoreStore& to) {
    const bool talliesUnset = to.UnitTalliesUnset;
    auto tallies = to.UnitTallies;
    to = from;
    to.UnitTallies = tallies;
    to.UnitTalliesUnset = talliesUnset;
}

}  // namespace

void ReportMemo::write(ScoreStore& store, int forcedLevel, ReportText& report, std::uint32_t flags,
                       const Diagnostics& trace, bool unchanged) {
    // Only a report that adds no text, and only without a trace to write.
    if (!report.truncated() || trace.enabled()) {
        WriteScoreReport(store, forcedLevel, report, flags, trace);
        settled_ = false;
        return;
    }
    const bool sameReport = valid_ && flags_ == flags && forcedLevel_ == forcedLevel;
    if (sameReport && unchanged && settled_) return;
    if (sameReport && SameInputs(store, before_)) {
        CopyResults(after_, store);
        settled_ = fixpoint_;
        return;
    }
    CopyResults(store, before_);
    WriteScoreReport(store, forcedLevel, report, flags, trace);
    CopyResults(store, after_);
    valid_ = true;
    flags_ = flags;
    forcedLevel_ = forcedLevel;
    fixpoint_ = SameInputs(after_, before_);
    settled_ = fixpoint_;
}

}  // namespace quillon
