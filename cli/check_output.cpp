#include "cli/check_output.hpp"

namespace quillon::cli {

std::string ProblemLines(const std::string& file, const quillon::ScriptAccount& account) {
    std::string text;
    const auto list = [&](const std::vector<quillon::Problem>& entries, const char* kind) {
        for (const quillon::Problem& p : entries) {
            text += file + ":" + std::to_string(p.line) + (p.column > 0 ? ":" + std::to_string(p.column) : "") + ": " + kind +
                    "[" + std::string(p.code) + "]: " + p.message + "\n";
        }
    };
    list(account.problems, "警告");
    if (!account.unlisted.empty()) {
        text += file + ": 另有 " + std::to_string(account.unlistedCount()) + " 个问题未列出：";
        bool first = true;
        for (const auto& [code, count] : account.unlisted) {
            text += (first ? "" : ", ") + std::string(code) + " " + std::to_string(count) + " 个";
            first = false;
        }
        text += "\n";
    }
    list(account.notes, "提示");
    if (account.unlistedNotes > 0) text += file + ": 另有 " + std::to_string(account.unlistedNotes) + " 个提示未列出\n";
    return text;
}

}  // namespace quillon::cli
