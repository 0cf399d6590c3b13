#include "script/account.hpp"

namespace quillon {

std::string_view LineKindName(LineKind kind) {
    switch (kind) {
        case LineKind::LevelSetUp: return "level";
        case LineKind::LayerLine: return "layer";
        case LineKind::UnitLine: return "unit";
        case LineKind::CountForm: return "count_form";
        case LineKind::Report: return "report";
        case LineKind::Echo: return "echo";
        case LineKind::Comment: break;
    }
    return "comment";
}

void ScriptAccount::reserveLines(std::size_t scriptBytes) {
    // Lines of a dozen bytes or more, line end included, are the usual; shorter ones only cost
    // a move of the records as they grow.
    constexpr std::size_t kUsualLineBytes = 12;
    const std::size_t expected = scriptBytes / kUsualLineBytes + 1;
    lines.reserve(expected);
}

void ScriptAccount::add(Problem problem) {
    if (problems.size() < kMaxListedProblems) {
        problems.push_back(std::move(problem));
    } else {
        ++unlisted[problem.code];
    }
}

std::size_t ScriptAccount::unlistedCount() const {
    std::size_t count = 0;
    for (const auto& [code, n] : unlisted) count += n;
    return count;
}

}  // namespace quillon
