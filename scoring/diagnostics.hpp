// What the command handlers tell besides the report: trace lines to a sink the caller chooses
// (none by default), and problems for the run's account when one is kept.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "scoring/account.hpp"

namespace quillon {

using DiagnosticSink = std::function<void(std::string_view)>;

class Diagnostics {
public:
    Diagnostics() = default;
    explicit Diagnostics(DiagnosticSink sink, ScriptAccount* account = nullptr)
        : sink_(std::move(sink)), account_(account) {}

    // Callers test these before formatting, so a run without a sink or account formats nothing.
    bool enabled() const { return static_cast<bool>(sink_); }
    bool accounting() const { return account_ != nullptr; }

    void write(std::string_view line) const {
        if (sink_) sink_(line);
    }
    void problem(std::string_view code, std::string message) const {
        if (account_ != nullptr) account_->add(Problem{line_, offset_, code, std::move(message)});
    }
    void setLine(std::size_t line, std::size_t offset) {
        line_ = line;
        offset_ = offset;
    }

private:
    DiagnosticSink sink_;
    ScriptAccount* account_ = nullptr;
    std::size_t line_ = 0;
    std::size_t offset_ = 0;
};

}  // namespace quillon
