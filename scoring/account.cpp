#include "scoring/account.hpp"

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

}  // namespace quillon
