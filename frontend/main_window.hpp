// The main window: moves text between its controls and the scoring library and decides when a
// script is scored. Scoring itself is quillon::ScoreScript.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

#include "frontend/controls.hpp"
#include "frontend/report_view.hpp"
#include "frontend/script_highlighter.hpp"
#include "frontend/script_mirror.hpp"

namespace quillon::frontend {

struct LinkTargets {
    QString homePage;
    QString donationPicture;
    QString helpPage = QStringLiteral("help2.htm");
};

class MainWindow : public QDialog {
    Q_OBJECT

public:
    explicit MainWindow(LinkTargets links = DefaultLinks(), QWidget* parent = nullptr);

    // Scores the script box's text and shows the report.
    void RunScript();
    // Loads a script file into the script box and scores it; a file that cannot be read
    // changes nothing, one over the script limit is refused with a message.
    void LoadScriptFile(const QString& path);
    // Loads the built-in text whose sample-list index is current.
    void SelectSample();
    // A 测试向量 menu command: select entry k of the sample list, then load it.
    void ChooseSample(int k);
    void ShowAbout();

    const Controls& controls() const { return c_; }
    // The problems the last run found on the script box's line (block) blockNumber.
    QString lineMessages(int blockNumber) const { return highlighter_->messages(blockNumber); }
    // Marks on lines with problems, on by default (off only to measure what they cost).
    void setMarksShown(bool shown) { marksShown_ = shown; }
    static LinkTargets DefaultLinks();
    // Who opens link targets; the desktop's registered handlers unless replaced.
    void setUrlOpener(std::function<void(const QUrl&)> opener) { openUrl_ = std::move(opener); }

public slots:
    // Enter and Esc reach these; they never close the window.
    void accept() override {}
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void connectEvents();
    void setScriptText(const QString& text);  // from the program: not an edit
    void showNull();
    void onScriptEdited();
    void onRealTimeClicked();
    void openFile();
    void exitApplication();
    void openLink(const QString& target);
    void openHelp();
    void showWindowMenu(const QPoint& globalPosition);
    bool handleFileDrop(QEvent* event);

    LinkTargets links_;
    std::function<void(const QUrl&)> openUrl_;
    Controls c_;
    ReportView report_;
    ScriptMirror script_;
    ScriptHighlighter* highlighter_;  // owned by the script box's document
    bool scoring_ = false;            // marking the script's lines is not an edit
    bool marksShown_ = true;
    bool exiting_ = false;
};

}  // namespace quillon::frontend
