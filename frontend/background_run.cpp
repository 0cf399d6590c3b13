#include "frontend/background_run.hpp"

#include <QMetaObject>

namespace quillon::frontend {

BackgroundRun::~BackgroundRun() { join(); }

void BackgroundRun::join() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundRun::start(app::RunOrder order) {
    join();
    busy_ = true;
    auto result = std::make_shared<std::pair<app::RunOrder, ScriptRun>>(std::move(order), ScriptRun{});
    result_ = result;
    thread_ = std::thread([this, result] {
        result->second = app::RunOf(result->first);
        // Queued to this object: dropped with it if the window is gone by then.
        QMetaObject::invokeMethod(this, [this, result] {
            if (result_ != result) return;  // finish() handed it back already
            result_.reset();
            busy_ = false;
            finished_(std::move(result->first), std::move(result->second));
        }, Qt::QueuedConnection);
    });
}

void BackgroundRun::finish() {
    if (!busy_) return;
    join();
    auto result = std::move(result_);
    busy_ = false;
    finished_(std::move(result->first), std::move(result->second));
}

}  // namespace quillon::frontend
