// Puts report text into the read-only report box. A new report usually differs from the one
// shown in a small part (the line of the unit being typed), so only that part is replaced:
// the box then lays out a few lines instead of the whole report, and keeps its scroll place
// when the same script was edited.
#pragma once

#include <QPlainTextEdit>
#include <optional>
#include <string>

namespace quillon::frontend {

class ReportView {
public:
    explicit ReportView(QPlainTextEdit* box);

    // text: UTF-8 with LF line ends. A selection in the box does not survive a new text.
    // fromTop: another script's report, shown from its first line; otherwise the box keeps
    // the reader's place.
    void show(std::string text, bool fromTop = false);

private:
    void put(std::string text);

    QPlainTextEdit* box_;
    std::optional<std::string> shown_;  // the text shown, once one is
};

}  // namespace quillon::frontend
