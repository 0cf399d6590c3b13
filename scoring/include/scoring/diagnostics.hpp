// The command handlers' trace lines, written to a sink the caller chooses (none by default).
// Tracing is an observer: whether a sink is attached never changes what a run does.
#pragma once

#include <functional>
#include <string_view>

namespace quillon {

using DiagnosticSink = std::function<void(std::string_view)>;

class Diagnostics {
public:
    Diagnostics() = default;
    explicit Diagnostics(DiagnosticSink sink) : sink_(std::move(sink)) {}

    // Callers test this before formatting, so a run without a sink formats nothing.
    bool enabled() const { return static_cast<bool>(sink_); }

    void write(std::string_view line) const {
        if (sink_) sink_(line);
    }

private:
    DiagnosticSink sink_;
};

}  // namespace quillon
