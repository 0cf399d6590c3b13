#include "frontend/main_window.hpp"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTextBlock>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "app/desktop_files.hpp"
#include "app/menus.hpp"
#include "app/utf16_units.hpp"
#include "frontend/about_box.hpp"
#include "frontend/dialog_units.hpp"
#include "frontend/program_files.hpp"
#include "frontend/script_highlighter.hpp"
#include "frontend/window_icon.hpp"

namespace quillon::frontend {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FirstLocalFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return {};
    return data->urls().first().toLocalFile();
}

// The design's font, smaller where the window would not fit the screen (a small screen, or a
// large scale factor); the frame and menu bar take about this much besides the dialog units.
QFont FittingFont() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return DialogFont();
    return DialogFontFitting(kMainWindowDialogUnits, QSize(16, 64), screen->availableGeometry().size());
}

// A script to open, scripts listed first.
QString AskScriptFile(QWidget* parent, const QString& title = {}) {
    QStringList filters;
    for (const app::OpenFilter& filter : app::ScriptOpenFilters()) filters << FromUtf8(app::OpenFilterText(filter, " ", "*"));
    return QFileDialog::getOpenFileName(parent, title, {}, filters.join(QStringLiteral(";;")));
}

const QString kUtf8Filter = QStringLiteral("UTF-8 文本 (*.txt *)");
const QString kGbkFilter = QStringLiteral("GBK 文本 (*.txt *)");

}  // namespace

MainWindow::MainWindow(app::Links links, QWidget* parent)
    : QDialog(parent),
      model_(std::move(links)),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      c_(BuildControls(*this, FittingFont())),
      report_(c_.reportBox),
      marks_(c_.scriptBox) {
    setObjectName("mainWindow");
    setWindowTitle(QStringLiteral("基于脚本编码方法的Quillon-"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(WindowIcon());
    setAcceptDrops(true);
    // A row the last run holds as it stands is not converted: the window recolours every keystroke.
    highlighter_ = new ScriptHighlighter(c_.scriptBox->document(), [this](const QString& row, std::size_t number) {
        if (model_.rowScored(number)) return model_.lineRecord({}, number).kind;
        const QByteArray text = row.toUtf8();
        return model_.lineRecord(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), number).kind;
    });  // owned by the document
    script_.follow(c_.scriptBox->document());
    connectEvents();
    // An address this build was not given leaves its entry disabled.
    c_.homePageAction->setEnabled(model_.linkAvailable(app::LinkCommand::HomePage));
    c_.donationAction->setEnabled(model_.linkAvailable(app::LinkCommand::DonationPicture));

    apply(model_.start());
    c_.scriptBox->document()->clearUndoRedoStacks();  // the notice is where the box starts
    c_.scriptBox->moveCursor(QTextCursor::Start);
    c_.scriptBox->setFocus();
}

void MainWindow::connectEvents() {
    connect(c_.computeButton, &QPushButton::clicked, this, &MainWindow::RunScript);
    connect(c_.loadButton, &QPushButton::clicked, this, &MainWindow::openFile);
    connect(c_.exitButton, &QPushButton::clicked, this, &MainWindow::Exit);
    connect(c_.scriptBox, &QPlainTextEdit::textChanged, this, [this] {
        if (!replacing_) edited();
    });
    busySign_ = new QTimer(this);
    busySign_->setSingleShot(true);
    busySign_->setInterval(100);
    connect(busySign_, &QTimer::timeout, this, &MainWindow::showNotice);
    // The box moves its scroll bar with the bar's signals blocked when the cursor jumps (Ctrl+End,
    // Page Down, a search): its own update request is what every scroll sends.
    connect(c_.scriptBox, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
        if (dy != 0) markRowsInView();
    });
    connect(c_.realTimeBox, &QCheckBox::clicked, this,
            [this](bool checked) { apply(model_.realTimeClicked(checked, scriptText())); });
    connect(c_.sampleList, qOverload<int>(&QComboBox::activated), this, &MainWindow::SelectSample);
    connect(c_.loadAction, &QAction::triggered, this, &MainWindow::openFile);
    connect(c_.saveAction, &QAction::triggered, this, &MainWindow::Save);
    connect(c_.saveAsAction, &QAction::triggered, this, &MainWindow::SaveAs);
    connect(c_.homePageAction, &QAction::triggered, this, [this] { apply(model_.link(app::LinkCommand::HomePage)); });
    connect(c_.exitAction, &QAction::triggered, this, &MainWindow::Exit);
    connect(c_.helpAction, &QAction::triggered, this, [this] { apply(model_.link(app::LinkCommand::Help)); });
    connect(c_.donationAction, &QAction::triggered, this,
            [this] { apply(model_.link(app::LinkCommand::DonationPicture)); });
    connect(c_.aboutAction, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(c_.analysisAction, &QAction::triggered, this, &MainWindow::ShowAnalysis);
    connect(c_.compareAction, &QAction::triggered, this,
            [this] { CompareWithFile(AskScriptFile(this, QStringLiteral("整改前的脚本"))); });
    for (std::size_t k = 0; k < c_.exportActions.size(); ++k) {
        const app::ExportFormat& format = app::ExportFormats()[k];
        connect(c_.exportActions[k], &QAction::triggered, this, [this, &format] { exportTables(format); });
    }
    for (int k = 0; k < static_cast<int>(c_.sampleActions.size()); ++k) {
        connect(c_.sampleActions[static_cast<unsigned>(k)], &QAction::triggered, this,
                [this, k] { ChooseSample(k); });
    }
    // Files dropped on the edit boxes belong to the window, as drops anywhere else do.
    for (QPlainTextEdit* box : {c_.scriptBox, c_.reportBox}) box->viewport()->installEventFilter(this);
    c_.scriptBox->installEventFilter(this);  // for Ctrl+Z
    // Where the window manager leaves Alt+Space alone, it opens the window's own menu.
    auto* windowMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(windowMenuKey, &QShortcut::activated, this, [this] { showWindowMenu(mapToGlobal(QPoint(0, 0))); });
}

void MainWindow::apply(app::Update update) {
    const bool newScript = update.script.has_value();
    if (newScript) replaceScript(std::move(*update.script));
    if (update.report) {
        // Another script's report starts at its top; an edit's keeps the reader's place.
        report_.show(std::move(*update.report), newScript);
        showNotice();
        marksAsked_ = {-1, -1};  // a new run: rows may be asked again
    }
    if (update.marks) {
        if (loading_) {
            pendingMarks_ = *update.marks;  // marked once the text is in
        } else {
            marks_.show(*update.marks);
            markRowsInView();
        }
    }
    recolour();
    showState();
    if (update.message) QMessageBox::information(this, windowTitle(), FromUtf8(*update.message));
    if (update.link && !openTarget(*update.link)) apply(model_.linkNotOpened(*update.link));
}

// An edit of the user's. A long script is scored away from the window, the newest text once
// the run going is back; a short one at once.
void MainWindow::edited() {
    if (script_.utf8().size() < kBackgroundRunBytes) {
        runWanted_ = false;  // scored now: a run going is stale, and none is due
        apply(model_.edited(script_.utf8()));
        return;
    }
    if (!model_.editedLater()) return;
    runWanted_ = true;
    startRun();
}

void MainWindow::startRun() {
    if (runs_.busy() || !runWanted_) return;
    runWanted_ = false;
    runs_.start(model_.runOrder(script_.utf8()));
    if (!busySign_->isActive()) busySign_->start();
}

void MainWindow::ranInBackground(app::RunOrder order, ScriptRun run) {
    app::Update update = model_.ran(std::move(order), std::move(run));
    if (update.report) apply(std::move(update));  // nothing if an edit came since
    startRun();
    if (!scoring()) {
        busySign_->stop();
        showNotice();
    }
}

// Whatever reads the last report waits for the run of the script in the box.
void MainWindow::settleRuns() {
    const bool wanted = runWanted_;
    runWanted_ = false;
    runs_.finish();
    if (wanted) {
        app::RunOrder order = model_.runOrder(script_.utf8());
        ScriptRun run = app::RunOf(order);
        apply(model_.ran(std::move(order), std::move(run)));
    }
    busySign_->stop();
    showNotice();
}

// Beside the report: that a run is taking long, else whatever the model says of the report.
void MainWindow::showNotice() {
    const bool busy = scoring() && !busySign_->isActive();
    c_.reportNotice->setText(FromUtf8(busy ? app::ScoringNotice() : std::string_view(model_.reportNotice())));
    if (c_.reportNotice->property("busy").toBool() != busy) {
        c_.reportNotice->setProperty("busy", busy);
        c_.reportNotice->style()->polish(c_.reportNotice);  // its colour follows
    }
}

// Ctrl+Z on the text of a replacement too long for Qt's undo stack: the text it replaced comes
// back the same way, as an edit; a second Ctrl+Z takes that back in turn.
void MainWindow::takeBackReplacement() {
    std::string before = std::move(*replacedText_);
    replacedText_.reset();
    runWanted_ = false;
    app::Update update = model_.edited(before);
    update.script = std::move(before);
    apply(std::move(update));
}

// Rows whose kind the last run or edit changed; colouring is no edit.
void MainWindow::recolour() {
    if (loading_ || highlighter_->document() == nullptr) return;
    const bool wasReplacing = replacing_;
    replacing_ = true;
    highlighter_->follow();
    replacing_ = wasReplacing;
}

// Rows in view that the model's marks do not hold (a run lists a thousand problems) are asked
// of it, once for each view of rows.
void MainWindow::markRowsInView() {
    if (loading_) return;
    const QPlainTextEdit* box = c_.scriptBox;
    const int first = box->cursorForPosition(QPoint(0, 0)).blockNumber();
    const int last = box->cursorForPosition(QPoint(0, box->viewport()->height() - 1)).blockNumber();
    const app::FrontEnd::MarkedRows& rows = model_.markedRows();
    const auto from = static_cast<std::size_t>(first);
    if ((from >= rows.first && static_cast<std::size_t>(last) < rows.end) || marksAsked_ == std::pair{first, last}) return;
    marksAsked_ = {first, last};
    app::Update update = model_.marksFor(from, static_cast<std::size_t>(last));
    if (update.marks) marks_.show(*update.marks);
}

void MainWindow::showState() {
    c_.realTimeBox->setChecked(model_.realTime());
    c_.computeButton->setEnabled(model_.computeEnabled());
    if (c_.sampleList->currentIndex() != model_.sampleIndex()) c_.sampleList->setCurrentIndex(model_.sampleIndex());
}

// From the program, not an edit; one step that Ctrl+Z takes back. Command words are coloured
// in scripts of ordinary size only: colouring half a million lines would triple a load. Long
// texts go out and in a piece at a time (the old one from its end, the new one converted as it
// goes in), so that the report is shown at once and the window answers meanwhile; the marks
// come once the text is in, and the box cannot be edited until then. Long texts stay off Qt's
// undo stack, which would take seconds to take them back; the text replaced is kept instead,
// and Ctrl+Z brings it back the same way.
void MainWindow::replaceScript(std::string text) {
    runWanted_ = false;  // the model scored the new text, or leaves it unscored
    std::optional<std::string> before;
    if (loading_) {
        // A load cut short: what it was putting in is what this one replaces.
        before = std::string(pendingText_);
        loadCursor_.endEditBlock();
        loading_ = false;
        pendingMarks_.reset();
    }
    // Set first: taking the colouring off changes the document too, and that is no edit.
    replacing_ = true;
    QTextDocument* document = c_.scriptBox->document();
    const bool coloured = app::Utf16Units(text) <= kColouredScriptUnits;
    if (!coloured && highlighter_->document() != nullptr) highlighter_->setDocument(nullptr);
    // The old text's marks go first: each is a cursor that every piece put in would move.
    marks_.show({});
    oldUnits_ = document->characterCount() - 1;  // without the final block's end
    const bool inPieces = oldUnits_ > kLoadPieceUnits || text.size() > kLoadPieceBytes;
    if (inPieces || before) {
        replacedText_ = before ? std::move(*before) : script_.utf8();
        document->setUndoRedoEnabled(false);
    }
    loadCursor_ = QTextCursor(document);
    loadCursor_.beginEditBlock();
    pendingText_ = std::move(text);
    pendingAt_ = 0;
    loading_ = true;
    if (!inPieces) {
        finishLoading();
    } else {
        c_.scriptBox->setReadOnly(true);
        c_.scriptBox->viewport()->setCursor(Qt::BusyCursor);  // the text is still going in
        if (!pieceDue_) QTimer::singleShot(0, this, &MainWindow::loadPiece);
        pieceDue_ = true;
    }
    // Colouring starts once the old text is out: it would colour every row of it first.
    colourWhenIn_ = coloured && highlighter_->document() == nullptr;
    if (!loading_) colourIfDue();
}

void MainWindow::colourIfDue() {
    if (!colourWhenIn_) return;
    colourWhenIn_ = false;
    const bool wasReplacing = replacing_;
    replacing_ = true;
    highlighter_->setDocument(c_.scriptBox->document());
    replacing_ = wasReplacing;
}

// Takes out the last `units` code units of the old text, or all of it; never half a pair.
void MainWindow::removeOldText(qsizetype units) {
    qsizetype from = std::max<qsizetype>(0, oldUnits_ - units);
    if (from > 0 && c_.scriptBox->document()->characterAt(from).isLowSurrogate()) --from;
    loadCursor_.setPosition(from);
    loadCursor_.setPosition(oldUnits_, QTextCursor::KeepAnchor);
    loadCursor_.removeSelectedText();
    oldUnits_ = from;
}

// The next piece: of the old text, then of the new one, ending at a line end.
void MainWindow::loadPiece() {
    pieceDue_ = false;
    if (!loading_) return;
    if (oldUnits_ > 0) {
        removeOldText(kLoadPieceUnits);
    } else {
        std::size_t end = std::min(pendingText_.size(), pendingAt_ + kLoadPieceBytes);
        if (end < pendingText_.size()) {
            const std::size_t lineEnd = pendingText_.find('\n', end);
            end = lineEnd == std::string::npos ? pendingText_.size() : lineEnd + 1;
        }
        loadCursor_.insertText(FromUtf8(std::string_view(pendingText_).substr(pendingAt_, end - pendingAt_)));
        pendingAt_ = end;
    }
    if (oldUnits_ > 0 || pendingAt_ < pendingText_.size()) {
        pieceDue_ = true;
        QTimer::singleShot(0, this, &MainWindow::loadPiece);
    } else {
        finishLoading();
    }
}

// Does what is left of a load at once; whatever reads the script waits for this.
void MainWindow::finishLoading() {
    if (!loading_) return;
    if (oldUnits_ > 0) removeOldText(oldUnits_);
    loadCursor_.insertText(FromUtf8(std::string_view(pendingText_).substr(pendingAt_)));
    loadCursor_.endEditBlock();
    loadCursor_ = QTextCursor();
    pendingText_ = std::string();
    loading_ = false;
    colourIfDue();
    replacing_ = false;
    c_.scriptBox->document()->setUndoRedoEnabled(true);
    c_.scriptBox->setReadOnly(false);
    c_.scriptBox->viewport()->setCursor(Qt::IBeamCursor);
    c_.scriptBox->moveCursor(QTextCursor::Start);
    if (pendingMarks_) {
        marks_.show(*pendingMarks_);
        pendingMarks_.reset();
        markRowsInView();
    }
}

void MainWindow::RunScript() { apply(model_.computeClicked(scriptText())); }

const std::string& MainWindow::scriptText() {
    finishLoading();
    return script_.utf8();
}

void MainWindow::LoadScriptFile(const QString& path) {
    if (path.isEmpty()) return;
    apply(model_.fileRead(path.toStdString(), app::ReadScriptFile(LocalPath(path))));
}

void MainWindow::openFile() { LoadScriptFile(AskScriptFile(this)); }

void MainWindow::SelectSample() { apply(model_.sampleChosen(c_.sampleList->currentIndex())); }

void MainWindow::ChooseSample(int k) { apply(model_.sampleChosen(k)); }

bool MainWindow::Save() {
    if (const auto& target = model_.saveTarget()) return SaveTo(FromUtf8(target->path), target->gbk);
    return SaveAs();
}

bool MainWindow::SaveAs() {
    QString filter = model_.saveTarget() && model_.saveTarget()->gbk ? kGbkFilter : kUtf8Filter;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("脚本另存为"), FromUtf8(model_.proposedSavePath()),
                                                      kUtf8Filter + QStringLiteral(";;") + kGbkFilter, &filter);
    if (path.isEmpty()) return false;
    return SaveTo(path, filter == kGbkFilter);
}

bool MainWindow::SaveTo(const QString& path, bool gbk) {
    const app::SaveBytes save = app::BytesToSave(scriptText(), gbk, path.toStdString());
    if (!save.bytes) {
        QMessageBox::warning(this, windowTitle(), FromUtf8(save.refusal));
        return false;
    }
    const std::string& bytes = *save.bytes;
    if (!WriteWhole(path, bytes)) return false;
    model_.saved({path.toStdString(), gbk});
    return true;
}

void MainWindow::Exit() {
    app::ExitStep step = model_.exitRequested();
    if (step == app::ExitStep::Ask) step = app::FrontEnd::ExitAnswered(ask(app::FrontEnd::ExitQuestion()));
    if (step == app::ExitStep::Stay || (step == app::ExitStep::SaveThenEnd && !Save())) return;
    exiting_ = true;
    done(QDialog::Accepted);
}

// The model's question in a message box; the number of the button chosen (Esc: the last).
std::size_t MainWindow::ask(const app::Question& question) {
    QMessageBox box(QMessageBox::Question, windowTitle(), FromUtf8(question.text), QMessageBox::NoButton, this);
    box.setObjectName("question");
    std::vector<QPushButton*> buttons;
    for (const std::string& words : question.buttons) {
        const auto role = buttons.empty() ? QMessageBox::AcceptRole
                                          : (buttons.size() + 1 == question.buttons.size() ? QMessageBox::RejectRole
                                                                                            : QMessageBox::DestructiveRole);
        buttons.push_back(box.addButton(FromUtf8(words), role));
    }
    if (buttons.empty()) return 0;
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return static_cast<std::size_t>((chosen == buttons.end() ? buttons.end() - 1 : chosen) - buttons.begin());
}

// What each unit costs the total, in the dialog font, whose columns line up like the report's;
// the units below 1 are ticked to see the total with them compliant together.
void MainWindow::ShowAnalysis() {
    finishLoading();
    settleRuns();
    const app::Analysis analysis = model_.analysis();
    QDialog dialog(this);
    dialog.setObjectName("analysis");
    dialog.setWindowTitle(QStringLiteral("分析：各单元增分"));
    dialog.setFont(font());
    auto* head = new QLabel(FromUtf8(analysis.head).trimmed(), &dialog);
    head->setObjectName("analysisText");
    head->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* units = new QListWidget(&dialog);
    units->setObjectName("analysisUnits");
    for (const std::string& row : analysis.units) {
        auto* item = new QListWidgetItem(FromUtf8(row), units);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // The column header over the rows' text, past the check boxes.
    auto* columns = new QLabel(FromUtf8(analysis.columns), &dialog);
    columns->setObjectName("analysisColumns");
    const int box = units->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, units) +
                    units->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, units);
    columns->setIndent(units->frameWidth() + box + 4);
    auto* whatIf = new QPlainTextEdit(FromUtf8(model_.whatIf({})), &dialog);
    whatIf->setObjectName("analysisWhatIf");
    whatIf->setReadOnly(true);
    connect(units, &QListWidget::itemChanged, &dialog, [this, units, whatIf] {
        std::vector<std::size_t> ticked;
        for (int row = 0; row < units->count(); ++row) {
            if (units->item(row)->checkState() == Qt::Checked) ticked.push_back(static_cast<std::size_t>(row));
        }
        whatIf->setPlainText(FromUtf8(model_.whatIf(ticked)));
    });
    auto* ok = new QPushButton(QStringLiteral("确定"), &dialog);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(head);
    layout->addWidget(columns);
    layout->addWidget(units, 1);
    layout->addWidget(whatIf, 1);
    layout->addWidget(ok, 0, Qt::AlignRight);
    columns->setVisible(!analysis.units.empty());
    units->setVisible(!analysis.units.empty());
    // Wide enough for the longest row and the what-if sentence; the losses below need height.
    dialog.resize(std::max(c_.reportBox->width() + 40, units->sizeHintForColumn(0) + 60), c_.reportBox->height() + 200);
    dialog.exec();
}

void MainWindow::CompareWithFile(const QString& path) {
    if (path.isEmpty()) return;
    const app::ComparisonShown shown = model_.compareWithFile(path.toStdString(), app::ReadScriptFile(LocalPath(path)), scriptText());
    if (!shown.message.empty()) QMessageBox::information(this, windowTitle(), FromUtf8(shown.message));
    if (shown.text.empty()) return;
    QDialog dialog(this);
    dialog.setObjectName("comparison");
    dialog.setWindowTitle(QStringLiteral("分析：与脚本文件比较"));
    dialog.setFont(font());
    auto* text = new QPlainTextEdit(FromUtf8(shown.text), &dialog);
    text->setObjectName("comparisonText");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QHBoxLayout;
    for (const app::ExportFormat& format : app::ExportFormats()) {
        auto* button = new QPushButton(FromUtf8(app::ExportMenuText(format) + "..."), &dialog);
        button->setObjectName(FromUtf8("export_" + std::string(format.name)));
        connect(button, &QPushButton::clicked, &dialog, [this, &format] { saveExport(format, model_.exportComparison(format), app::FrontEnd::ComparisonExportName(format)); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("确定"), &dialog);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);
    dialog.resize(c_.reportBox->width() + 200, c_.reportBox->height() + 100);
    dialog.exec();
}

// The last report's tables, for the assessment report; written whole or not at all.
void MainWindow::exportTables(const app::ExportFormat& format) {
    finishLoading();
    settleRuns();
    saveExport(format, model_.exportTables(format), app::FrontEnd::ExportName(format));
}

void MainWindow::saveExport(const app::ExportFormat& format, const app::ExportedFile& file, const std::string& name) {
    if (!file.problem.empty()) {
        QMessageBox::information(this, windowTitle(), FromUtf8(file.problem));
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, FromUtf8(app::ExportTitle(format)),
                                                      FromUtf8(name), FromUtf8(app::ExportFilter(format)));
    if (!path.isEmpty()) WriteWhole(path, file.bytes);
}

// The old file stays whole until the new one is written; a failure is told.
bool MainWindow::WriteWhole(const QString& path, const std::string& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit()) {
        return true;
    }
    QMessageBox::warning(this, windowTitle(), FromUtf8(app::SaveFailedMessage(path.toStdString(), file.errorString().toStdString())));
    return false;
}

void MainWindow::ShowAbout() {
    AboutBox about(this);
    about.exec();
}

// Web targets go to the browser; the help page is looked for where the program keeps it.
bool MainWindow::openTarget(const std::string& target) {
    const QString text = FromUtf8(target);
    const QUrl url(text);
    if (!url.isRelative()) return openUrl_(url);
    const QString path = FindProgramFile(text, QDir::currentPath(), QCoreApplication::applicationDirPath());
    // The desktop's opener starts a program and cannot tell that the file is missing.
    if (path.isEmpty()) return false;
    return openUrl_(QUrl::fromLocalFile(path));
}

void MainWindow::showWindowMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("关于 Quillon0701(&A)..."));
    about->setProperty("commandId", IDM_ABOUTBOX);
    if (menu.exec(globalPosition) == about) ShowAbout();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2) {
        const bool controlFocused = focusWidget() != nullptr && focusWidget() != this;
        apply(model_.f2Pressed(controlFocused));
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The title bar's close button and Alt+F4 leave the window open; only Exit ends it.
    if (!exiting_) event->ignore();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) { showWindowMenu(event->globalPos()); }

// Files dragged onto the window: accepted, and the first one of a drop is loaded. Text dragged
// inside the script box is the box's own business.
bool MainWindow::handleFileDrop(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls()) return false;
    drop->acceptProposedAction();
    if (type == QEvent::Drop) LoadScriptFile(FirstLocalFile(drop->mimeData()));
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.scriptBox && event->type() == QEvent::KeyPress) {
        // During a load too, when the box takes no key of its own.
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) && replacedText_ &&
            !c_.scriptBox->document()->isUndoAvailable()) {
            takeBackReplacement();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::ToolTip && watched == c_.scriptBox->viewport()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QTextCursor at = c_.scriptBox->cursorForPosition(help->pos());
        QString messages = marks_.messages(at.blockNumber());
        // The place nearest the mouse may be just past the word it is over.
        const std::string row = at.block().text().toStdString();
        const auto column = static_cast<std::size_t>(at.positionInBlock());
        std::string tip = model_.wordTip(row, static_cast<std::size_t>(at.blockNumber()), column);
        if (tip.empty() && column > 0) tip = model_.wordTip(row, static_cast<std::size_t>(at.blockNumber()), column - 1);
        if (!tip.empty()) messages = FromUtf8(tip) + (messages.isEmpty() ? QString() : QStringLiteral("\n") + messages);
        if (messages.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), messages, c_.scriptBox);
        }
        return true;
    }
    return handleFileDrop(event) || QDialog::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) { return handleFileDrop(event) || QDialog::event(event); }

}  // namespace quillon::frontend
