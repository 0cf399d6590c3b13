// The main window: a view of the front-end model. It hands the model every event of its
// controls and menu, and shows what the model's update says; the model decides when a script
// is scored, the library scores it.
#pragma once

#include <QDialog>
#include <QString>
#include <QUrl>
#include <QTextCursor>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "app/front_end.hpp"
#include "frontend/background_run.hpp"
#include "frontend/controls.hpp"
#include "frontend/problem_marks.hpp"
#include "frontend/report_view.hpp"
#include "frontend/script_highlighter.hpp"
#include "frontend/script_mirror.hpp"

namespace quillon::frontend {

class MainWindow : public QDialog {
    Q_OBJECT

public:
    explicit MainWindow(app::Links links = app::ConfiguredLinks(), QWidget* parent = nullptr);

    // Scores the script box's text, as the compute button does.
    void RunScript();
    // Loads a script file into the script box and scores it; a file that cannot be read
    // changes nothing, one over the script limit or not a text is refused with a message.
    void LoadScriptFile(const QString& path);
    // Loads the built-in text whose sample-list index is current.
    void SelectSample();
    // A 测试向量 menu command: select entry k of the sample list, then load it.
    void ChooseSample(int k);
    void ShowAbout();
    void ShowAnalysis();
    // 与脚本文件比较: the file at `path` before, the script box after; the text with its exports.
    void CompareWithFile(const QString& path);
    void exportTables(const app::ExportFormat& format);
    void saveExport(const app::ExportFormat& format, const app::ExportedFile& file, const std::string& name);
    bool WriteWhole(const QString& path, const std::string& bytes);
    // Writes the script to the file it was last saved to, or asks where (Ctrl+S); Save As
    // always asks. UTF-8 unless GBK is chosen in the dialog.
    bool Save();
    bool SaveAs();
    bool SaveTo(const QString& path, bool gbk);

    const Controls& controls() const { return c_; }
    const app::FrontEnd& model() const { return model_; }
    // The problems the last run found on the script box's line (block) blockNumber.
    QString lineMessages(int blockNumber) const { return marks_.messages(blockNumber); }
    // Who opens link targets, and whether it could; the desktop's registered handlers unless
    // replaced.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // 退出: ends the window, after asking whether to save edits that no file holds.
    void Exit();
    // Whether an edit of a long script is being scored away from the window, or waits to be.
    bool scoring() const { return runs_.busy() || runWanted_; }

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
    void apply(app::Update update);
    void showState();
    void replaceScript(std::string text);
    void loadPiece();
    void removeOldText(qsizetype units);
    void finishLoading();
    const std::string& scriptText();  // the script box's text, once a load has put it all in
    void openFile();
    std::size_t ask(const app::Question& question);
    bool openTarget(const std::string& target);
    void showWindowMenu(const QPoint& globalPosition);
    bool handleFileDrop(QEvent* event);
    void markRowsInView();
    void recolour();
    void edited();
    void startRun();
    void ranInBackground(app::RunOrder order, ScriptRun run);
    void settleRuns();
    void showNotice();
    void takeBackReplacement();
    void colourIfDue();

    app::FrontEnd model_;
    std::function<bool(const QUrl&)> openUrl_;
    Controls c_;
    ReportView report_;
    ScriptMirror script_;
    ProblemMarks marks_;
    ScriptHighlighter* highlighter_ = nullptr;
    static constexpr qsizetype kColouredScriptUnits = 2 * 1024 * 1024;
    static constexpr std::size_t kLoadPieceBytes = 128 * 1024;  // of the new text
    static constexpr qsizetype kLoadPieceUnits = 128 * 1024;    // of the old one
    // Edits of scripts from this size on are scored away from the window; shorter runs (20 ms
    // and less) are over before a handover to a thread would be.
    static constexpr std::size_t kBackgroundRunBytes = 2 * 1024 * 1024;
    bool replacing_ = false;  // the program replaces the script: not an edit
    bool loading_ = false;    // a long text is going in, a piece at a time
    bool pieceDue_ = false;   // its next piece is on the way
    bool colourWhenIn_ = false;  // the text going in is short enough to colour
    std::string pendingText_;  // UTF-8
    std::size_t pendingAt_ = 0;
    qsizetype oldUnits_ = 0;  // of the old text, still to be taken out
    QTextCursor loadCursor_;
    std::optional<std::vector<app::Mark>> pendingMarks_;
    std::pair<int, int> marksAsked_{-1, -1};  // the rows in view last asked of the model
    bool exiting_ = false;
    BackgroundRun runs_{[this](app::RunOrder order, ScriptRun run) { ranInBackground(std::move(order), std::move(run)); }};
    bool runWanted_ = false;  // an edit came since the run going was ordered
    QTimer* busySign_ = nullptr;  // a run longer than this says so
    // What a replacement too long for Qt's undo stack replaced: Ctrl+Z brings it back once
    // the stack holds nothing more to take back.
    std::optional<std::string> replacedText_;
};

}  // namespace quillon::frontend
