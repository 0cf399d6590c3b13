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
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QToolTip>
#include <QSignalBlocker>

#include "codec/decode.hpp"
#include "codec/script_file.hpp"
#include "frontend/about_box.hpp"
#include "frontend/link_config.hpp"
#include "frontend/window_icon.hpp"
#include "script/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace quillon::frontend {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The edit boxes break lines with LF; CR LF and lone CR mean the same to the interpreter.
QString ForDisplay(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString FirstLocalFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return {};
    return data->urls().first().toLocalFile();
}

}  // namespace

LinkTargets MainWindow::DefaultLinks() {
    return LinkTargets{QStringLiteral(QUILLON_HOME_PAGE_URL), QStringLiteral(QUILLON_DONATION_URL)};
}

MainWindow::MainWindow(LinkTargets links, QWidget* parent)
    : QDialog(parent),
      links_(std::move(links)),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      c_(BuildControls(*this)),
      report_(c_.reportBox),
      highlighter_(new ScriptHighlighter(c_.scriptBox->document())) {
    setObjectName("mainWindow");
    setWindowTitle(QStringLiteral("基于脚本编码方法的Quillon-"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(WindowIcon());
    setAcceptDrops(true);
    script_.follow(c_.scriptBox->document());
    connectEvents();

    c_.realTimeBox->setChecked(true);
    c_.computeButton->setEnabled(false);
    c_.sampleList->setCurrentIndex(0);
    setScriptText(FromUtf8(NoticeText));
    showNull();
    c_.scriptBox->setFocus();
}

void MainWindow::connectEvents() {
    connect(c_.computeButton, &QPushButton::clicked, this, &MainWindow::RunScript);
    connect(c_.loadButton, &QPushButton::clicked, this, &MainWindow::openFile);
    connect(c_.exitButton, &QPushButton::clicked, this, &MainWindow::exitApplication);
    connect(c_.scriptBox, &QPlainTextEdit::textChanged, this, &MainWindow::onScriptEdited);
    connect(c_.realTimeBox, &QCheckBox::clicked, this, &MainWindow::onRealTimeClicked);
    connect(c_.sampleList, qOverload<int>(&QComboBox::activated), this, &MainWindow::SelectSample);
    connect(c_.loadAction, &QAction::triggered, this, &MainWindow::openFile);
    connect(c_.homePageAction, &QAction::triggered, this, [this] { openLink(links_.homePage); });
    connect(c_.exitAction, &QAction::triggered, this, &MainWindow::exitApplication);
    connect(c_.helpAction, &QAction::triggered, this, &MainWindow::openHelp);
    connect(c_.donationAction, &QAction::triggered, this, [this] { openLink(links_.donationPicture); });
    for (int k = 0; k < static_cast<int>(c_.sampleActions.size()); ++k) {
        connect(c_.sampleActions[static_cast<unsigned>(k)], &QAction::triggered, this,
                [this, k] { ChooseSample(k); });
    }
    // Files dropped on the edit boxes belong to the window, as drops anywhere else do.
    for (QPlainTextEdit* box : {c_.scriptBox, c_.reportBox}) box->viewport()->installEventFilter(this);
    // Without a system menu of its own, the window offers its about entry on Alt+Space.
    auto* windowMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(windowMenuKey, &QShortcut::activated, this, [this] { showWindowMenu(mapToGlobal(QPoint(0, 0))); });
}

void MainWindow::RunScript() {
    scoring_ = true;
    const ScriptRun run = InterpretScript(script_.utf8(), {}, marksShown_);
    report_.show(run.report);
    if (marksShown_) highlighter_->showProblems(script_, run.account);
    scoring_ = false;
}

void MainWindow::showNull() {
    report_.showPlaceholder(QStringLiteral("NULL"));
    highlighter_->showProblems(script_, ScriptAccount{});  // nothing scored, nothing marked
}

void MainWindow::setScriptText(const QString& text) {
    const QSignalBlocker notAnEdit(c_.scriptBox);
    c_.scriptBox->setPlainText(ForDisplay(text));
}

void MainWindow::onScriptEdited() {
    if (c_.realTimeBox->isChecked() && !scoring_) RunScript();
}

void MainWindow::onRealTimeClicked() {
    if (c_.realTimeBox->isChecked()) {
        c_.computeButton->setEnabled(false);
        RunScript();
    } else {
        c_.computeButton->setEnabled(true);
    }
}

void MainWindow::LoadScriptFile(const QString& path) {
    if (path.isEmpty()) return;
    const codec::ScriptBytes read = codec::ReadScriptFile(QFile::encodeName(path).toStdString());
    if (!read.ok) {
        if (read.tooLarge) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("脚本文件太大，未读入：\n%1\n脚本最多 16,777,215 字节。").arg(path));
        }
        return;  // a folder, a missing or unreadable file: nothing changes
    }
    const codec::DecodedScript decoded = codec::DecodeScript(read.bytes, codec::InputEncoding::Auto);
    if (decoded.binary) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("不是文本文件（开头 8 KiB 内有 NUL 字节），未读入：\n%1").arg(path));
        return;
    }
    // The script ends at its first NUL; the box shows what is scored.
    setScriptText(FromUtf8(decoded.text.substr(0, decoded.text.find('\0'))));
    RunScript();
}

void MainWindow::openFile() {
    const QString path = QFileDialog::getOpenFileName(this);
    LoadScriptFile(path);
}

void MainWindow::SelectSample() {
    const int index = c_.sampleList->currentIndex();
    if (index < 0 || index >= static_cast<int>(BuiltInSamples.size())) return;
    const BuiltInSample& sample = BuiltInSamples[static_cast<unsigned>(index)];
    setScriptText(FromUtf8(sample.text));
    if (!sample.scored) {
        showNull();
        return;
    }
    RunScript();
}

void MainWindow::ChooseSample(int k) {
    c_.sampleList->setCurrentIndex(k);  // from the program: raises no selection event
    SelectSample();
}

void MainWindow::exitApplication() {
    exiting_ = true;
    done(QDialog::Accepted);
}

void MainWindow::ShowAbout() {
    AboutBox about(this);
    about.exec();
}

void MainWindow::openLink(const QString& target) { openUrl_(QUrl(target)); }

// The help page is looked up in the working folder first, as its relative name says, then
// beside the program, where it is installed.
void MainWindow::openHelp() {
    QString path = QDir::current().absoluteFilePath(links_.helpPage);
    if (!QFileInfo::exists(path)) {
        const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(links_.helpPage);
        if (QFileInfo::exists(besideProgram)) path = besideProgram;
    }
    openUrl_(QUrl::fromLocalFile(path));
}

void MainWindow::showWindowMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("关于 Quillon0701(&A)..."));
    about->setProperty("commandId", 16);
    if (menu.exec(globalPosition) == about) ShowAbout();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool noControlFocused = focusWidget() == nullptr || focusWidget() == this;
    if (event->key() == Qt::Key_F2 && noControlFocused) {
        QMessageBox::information(this, QString(), QStringLiteral("VK_F2"));
    }
    QDialog::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The title bar's close button and Alt+F4 leave the window open; only Exit ends it.
    if (!exiting_) event->ignore();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) { showWindowMenu(event->globalPos()); }

// Files dragged onto the window: accepted, and the first one of a drop is loaded.
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
    if (event->type() == QEvent::ToolTip && watched == c_.scriptBox->viewport()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString messages = highlighter_->messages(c_.scriptBox->cursorForPosition(help->pos()).blockNumber());
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
