// Puts report text into the read-only report box. A new report usually differs from the one
// shown in a small part (the line of the unit being typed), so only that part is replaced:
// the box then lays out a few lines instead of the whole report, and keeps its scroll place.
#pragma once

#include <QPlainTextEdit>
#include <optional>
#include <string>

namespace quillon::frontend {

class ReportView {
public:
    explicit ReportView(QPlainTextEdit* box);

    // report: UTF-8 with CR LF line ends, as the library gives it.
    void show(const std::string& report);
    // A text that is not a report ("NULL" before the first scoring).
    void showPlaceholder(const QString& text);

private:
    QPlainTextEdit* box_;
    std::optional<std::string> shown_;  // the shown report with LF line ends, if a report is shown
};

}  // namespace quillon::frontend
