// One run of the library at a time on a thread of its own, so that the window answers while a
// long script is scored; each finished run is handed back on the window's thread.
#pragma once

#include <QObject>
#include <functional>
#include <thread>

#include "app/front_end.hpp"

namespace quillon::frontend {

class BackgroundRun : public QObject {
public:
    using Finished = std::function<void(app::RunOrder order, ScriptRun run)>;
    explicit BackgroundRun(Finished finished) : finished_(std::move(finished)) {}
    ~BackgroundRun() override;  // waits for a run still going; its result goes nowhere

    bool busy() const { return busy_; }
    // Only while not busy.
    void start(app::RunOrder order);
    // Waits for the run going, and hands it back at once.
    void finish();

private:
    void join();

    Finished finished_;
    std::thread thread_;
    bool busy_ = false;
    std::shared_ptr<std::pair<app::RunOrder, ScriptRun>> result_;  // filled by the thread
};

}  // namespace quillon::frontend
