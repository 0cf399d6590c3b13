#include "script/line_detail.hpp"

#include <bit>
#include <string>

#include "scoring/count_form.hpp"
#include "scoring/level.hpp"
#include "script/commands.hpp"
#include "script/layer_line.hpp"
#include "script/lines.hpp"
#include "script/unit_line.hpp"

namespace quillon {
namespace {

void KeepObjects(const ObjectTable& table, double score, ObjectsDetail& objects) {
    for (int slot = 0; slot < table.TokenCount; ++slot) {
        if (table.Counted[static_cast<unsigned>(slot)]) objects.counted.push_back(table.ObjectScores[static_cast<unsigned>(slot)]);
    }
    objects.notApplicable = table.NotApplicable;
    objects.maxIgnored = std::popcount(table.IgnoredMax);
    objects.mean = CountFormMean(table);
    objects.score = score;
}

WordEffect EffectOf(LayerWordEffect effect) {
    switch (effect) {
        case LayerWordEffect::Stored: return WordEffect::Stored;
        case LayerWordEffect::NotApplicable: return WordEffect::NotApplicable;
        default: return WordEffect::Unchanged;
    }
}

}  // namespace

LineDetail ReadLineDetail(std::string_view row, int level) {
    LineDetail detail;
    const std::string line = CollectedRow(row);
    const Command* command = CommandOf(line);
    if (command == nullptr || level < 1 || level > kLevelCount) return detail;
    detail.kind = command->kind;
    ScoreStore store;
    InitLevel(store, level, kLevelSetUpDefault, Diagnostics{});
    ObjectTable table;
    switch (detail.kind) {
        case LineKind::UnitLine: {
            const UnitLineOutcome outcome = SetUnitScore(store, table, line, Diagnostics{});
            detail.stored = outcome.effect == UnitLineEffect::Stored;
            KeepObjects(table, outcome.score, detail.objects);
            break;
        }
        case LineKind::CountForm: {
            const double score = CountFormScore(table, std::string_view(line).substr(command->word.size() + 1), nullptr,
                                                nullptr, nullptr);
            KeepObjects(table, score, detail.objects);
            break;
        }
        case LineKind::LayerLine: {
            LayerLineOutcome outcome;
            deal_CC(store, line, Diagnostics{}, outcome);
            if (outcome.result < 0) break;
            const auto& scores = store.LayerRows[static_cast<unsigned>(outcome.layer)].UnitScores;
            for (int i = 0; i < outcome.units; ++i) {
                const auto u = static_cast<unsigned>(i);
                detail.words.push_back({EffectOf(outcome.words[u].effect), scores[u]});
            }
            break;
        }
        default: break;
    }
    return detail;
}

}  // namespace quillon
