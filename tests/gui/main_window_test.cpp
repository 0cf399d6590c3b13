// The desktop window, driven headless: start-up state, when scoring happens, samples, files,
// drops, and what does and does not close the window.
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>
#include <QAbstractItemView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolTip>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "codec/encoding.hpp"
#include "frontend/controls.hpp"
#include "frontend/dialog_units.hpp"
#include "frontend/main_window.hpp"
#include "frontend/problem_marks.hpp"
#include "frontend/program_files.hpp"
#include "frontend/qt_texts.hpp"
#include "frontend/window_icon.hpp"
#include "frontend/report_view.hpp"
#include "frontend/script_mirror.hpp"
#include "app/menus.hpp"
#include "app/builtin_texts.hpp"
#include "script/interpreter.hpp"

using namespace quillon;
using namespace quillon::frontend;

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Shown(std::string_view text) {
    QString shown = Utf8(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString Script(const MainWindow& w) {
    QString text = w.controls().scriptBox->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

QString Report(const MainWindow& w) {
    QString text = w.controls().reportBox->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// What quillon-score prints for the same script, as the report box shows it.
QString ExpectedReport(const QString& script) { return Shown(ScoreScript(script.toStdString())); }

struct ModalSeen {
    QString title;
    QString text;
    QStringList buttons;  // a message box's, in their order
    bool seen = false;
};

// Answers the modal windows that run next, one answer each: a message box's button by its
// words, "" to accept a dialog, "reject" to cancel it. Each one's title, message and buttons
// are remembered.
std::shared_ptr<std::vector<ModalSeen>> AnswerNextModals(QStringList answers) {
    auto seen = std::make_shared<std::vector<ModalSeen>>();
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    auto handled = std::make_shared<QList<QPointer<QWidget>>>();
    QObject::connect(poll, &QTimer::timeout, poll, [seen, poll, tries, handled, answers] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && !handled->contains(modal)) {
            handled->append(modal);
            const QString answer = answers[static_cast<qsizetype>(seen->size())];
            ModalSeen& s = seen->emplace_back();
            s.seen = true;
            s.title = modal->windowTitle();
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box != nullptr) {
                s.text = box->text();
                QList<QAbstractButton*> shown = box->buttons();
                std::sort(shown.begin(), shown.end(), [](const QAbstractButton* a, const QAbstractButton* b) {
                    return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
                });
                for (const QAbstractButton* button : shown) s.buttons << button->text();
            }
            QAbstractButton* chosen = nullptr;
            if (box != nullptr) {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text() == answer) chosen = button;
                }
            }
            if (chosen != nullptr) {
                chosen->click();
            } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->done(answer == QStringLiteral("reject") ? QDialog::Rejected : QDialog::Accepted);
            }
        }
        if (seen->size() == static_cast<std::size_t>(answers.size()) || ++*tries >= 300) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
    return seen;
}

// Closes the next modal window once it runs, remembering its title and message; it looks for
// one `tries` times, 10 ms apart.
std::shared_ptr<ModalSeen> DismissNextModal(int tries = 300) {
    auto seen = std::make_shared<ModalSeen>();
    auto* poll = new QTimer(qApp);
    auto left = std::make_shared<int>(tries);
    QObject::connect(poll, &QTimer::timeout, poll, [seen, poll, left] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) {
            seen->seen = true;
            seen->title = modal->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) seen->text = box->text();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Accepted);
        }
        if (modal != nullptr || --*left <= 0) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
    return seen;
}

void TypeChinese(QWidget* target, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

// Types ASCII text key by key, Enter for each line break.
void TypeAscii(QWidget* target, const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClicks(target, lines[i]);
    }
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The colour of a row's first character.
QColor FirstColour(const QPlainTextEdit* box, int row) {
    const auto formats = box->document()->findBlockByNumber(row).layout()->formats();
    return formats.isEmpty() ? QColor() : formats.first().format.foreground().color();
}

void Drop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpState() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        QCOMPARE(w.windowTitle(), QStringLiteral("基于脚本编码方法的Quillon-"));
        QCOMPARE(Script(w), Shown(NoticeText));
        QCOMPARE(Report(w), QStringLiteral("NULL"));
        QVERIFY(c.realTimeBox->isChecked());
        QVERIFY(!c.computeButton->isEnabled());
        QCOMPARE(c.sampleList->currentIndex(), 0);
        QCOMPARE(c.sampleList->currentText(), QStringLiteral("1. 权利声明 "));
        QCOMPARE(w.focusWidget(), c.scriptBox);
        QVERIFY(!c.okButton->isVisible() && !c.okButton->isEnabled());
        QVERIFY(!c.cancelButton->isVisible() && !c.cancelButton->isEnabled());
    }

    void layoutFollowsTheDesignInDialogUnits() {
        MainWindow w;
        const DialogUnits units(w.font());
        const Controls& c = w.controls();
        QCOMPARE(c.client->size(), units.toPixels(687, 421));
        QCOMPARE(w.minimumSize(), w.maximumSize());  // fixed size
        QCOMPARE(c.scriptBox->geometry(), units.toPixels(14, 7, 257, 338));
        QCOMPARE(c.reportBox->geometry(), units.toPixels(279, 7, 401, 335));
        QCOMPARE(c.computeButton->geometry(), units.toPixels(249, 385, 82, 18));
        QCOMPARE(c.loadButton->text(), QStringLiteral("读入脚本(支持拖拽)"));
        QCOMPARE(c.realTimeBox->text(), QStringLiteral("实时编辑实时算分"));
        QCOMPARE(c.exitButton->text(), QStringLiteral("退出"));
        QCOMPARE(c.groupBox->title(), QStringLiteral("密评算分"));
        QCOMPARE(c.scriptBox->property("controlId").toInt(), 1000);
        QVERIFY(c.reportBox->isReadOnly());
        QCOMPARE(c.sampleList->count(), 5);
        QCOMPARE(c.sampleList->itemText(3), QStringLiteral("4. 某四级  例题  69.680 "));
        // Tab order: script, report, compute, real-time, load, exit, samples.
        QList<int> tabOrder;
        for (QWidget* widget = c.scriptBox->nextInFocusChain(); widget != c.scriptBox;
             widget = widget->nextInFocusChain()) {
            const int id = widget->property("controlId").toInt();
            if (id >= 1000) tabOrder.append(id);
        }
        QCOMPARE(tabOrder, (QList<int>{1001, 1002, 1003, 1004, 1005, 1006}));
        const QStringList menus = {c.menuBar->actions()[0]->text(), c.menuBar->actions()[1]->text()};
        QCOMPARE(menus, (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("测试向量(&T)")}));
        QCOMPARE(c.donationAction->text(), QStringLiteral("用好,给咖啡赞助(&Z)"));
        QCOMPARE(c.sampleActions[4]->property("commandId").toInt(), 32778);
    }

    // The script's font keeps the report's columns (a Chinese character two ASCII cells) and
    // reads @@2 unlike 002 at the design's size: of the ink of @ and 0, most differs.
    void chineseIsTwoAsciiCellsWideAndAtUnlikeZero() {
        const QFont font = DialogFont();
        const QFontMetrics metrics(font);
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("中")), 2 * metrics.horizontalAdvance(QLatin1Char('a')));
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("物理和环境")), metrics.horizontalAdvance(QStringLiteral("0123456789")));
        const auto glyph = [&](QChar c) {
            QImage image(metrics.horizontalAdvance(c), metrics.height(), QImage::Format_Grayscale8);
            image.fill(255);
            QPainter painter(&image);
            painter.setFont(font);
            painter.drawText(0, metrics.ascent(), QString(c));
            return image;
        };
        const QImage at = glyph(QLatin1Char('@')), zero = glyph(QLatin1Char('0'));
        long differ = 0, inkAt = 0, inkZero = 0;
        for (int y = 0; y < at.height(); ++y) {
            for (int x = 0; x < at.width(); ++x) {
                differ += std::abs(qGray(at.pixel(x, y)) - qGray(zero.pixel(x, y)));
                inkAt += 255 - qGray(at.pixel(x, y));
                inkZero += 255 - qGray(zero.pixel(x, y));
            }
        }
        QVERIFY2(differ * 3 > std::max(inkAt, inkZero) * 2,
                 qPrintable(QFontInfo(font).family() + QStringLiteral(": %1 of %2").arg(differ).arg(std::max(inkAt, inkZero))));
    }

    void typingScoresInRealTime() {
        MainWindow w;
        w.show();
        QTest::keyClick(w.controls().scriptBox, Qt::Key_M);
        QVERIFY(Report(w) != QStringLiteral("NULL"));
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        w.controls().scriptBox->clear();
        TypeAscii(w.controls().scriptBox, QStringLiteral("mpinit=4\n@@1 0.5 1 0.5\nmpout"));
        QCOMPARE(Report(w), ExpectedReport(QStringLiteral("mpinit=4\n@@1 0.5 1 0.5\nmpout")));
        TypeChinese(w.controls().scriptBox, QStringLiteral("\nmpecho 中文"));
        QVERIFY(Report(w).contains(QStringLiteral("mpecho 中文\n")));
    }

    void realTimeOffScoresOnlyOnTheComputeButton() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        QTest::mouseClick(c.realTimeBox, Qt::LeftButton);
        QVERIFY(!c.realTimeBox->isChecked());
        QVERIFY(c.computeButton->isEnabled());
        QCOMPARE(Report(w), QStringLiteral("NULL"));
        QTest::keyClicks(c.scriptBox, "mpout");
        QCOMPARE(Report(w), QStringLiteral("NULL"));
        QTest::mouseClick(c.computeButton, Qt::LeftButton);
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        c.scriptBox->setPlainText(QStringLiteral("mpinit=2\nmpout"));
        QVERIFY(Report(w) != ExpectedReport(Script(w)));
        QTest::mouseClick(c.realTimeBox, Qt::LeftButton);  // on again: disabled and rescored
        QVERIFY(c.realTimeBox->isChecked());
        QVERIFY(!c.computeButton->isEnabled());
        QCOMPARE(Report(w), ExpectedReport(QStringLiteral("mpinit=2\nmpout")));
    }

    void samplesFromTheList() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        QTest::mouseClick(c.realTimeBox, Qt::LeftButton);  // samples score even with real-time off
        for (int k = 1; k < 5; ++k) {
            c.sampleList->setCurrentIndex(k);
            Q_EMIT c.sampleList->activated(k);
            QCOMPARE(Script(w), Shown(BuiltInSamples[static_cast<unsigned>(k)].text));
            QCOMPARE(Report(w), Shown(ScoreScript(BuiltInSamples[static_cast<unsigned>(k)].text)));
        }
        c.sampleList->setCurrentIndex(0);
        Q_EMIT c.sampleList->activated(0);
        QCOMPARE(Script(w), Shown(NoticeText));
        QCOMPARE(Report(w), QStringLiteral("NULL"));
    }

    void samplesFromTheMenu() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        c.sampleActions[2]->trigger();
        QCOMPARE(c.sampleList->currentIndex(), 2);
        QCOMPARE(c.sampleList->currentText(), QStringLiteral("3. 某三级  Velmar = 62.29"));
        QVERIFY(Report(w).contains(QStringLiteral("3级 密评总分=  62.280  62.2840")));
        TypeChinese(c.scriptBox, QStringLiteral("改动"));
        c.sampleActions[2]->trigger();  // reloads, discarding the edit
        QCOMPARE(Script(w), Shown(BuiltInSamples[2].text));
        c.sampleActions[3]->trigger();
        QVERIFY(Report(w).contains(QStringLiteral("4级 密评总分=  69.680  69.6798")));
        c.sampleActions[0]->trigger();
        QCOMPARE(Report(w), QStringLiteral("NULL"));
        QCOMPARE(c.sampleList->currentIndex(), 0);
    }

    void loadingGbkAndUtf8Files() {
        QTemporaryDir dir;
        const std::string script = "mpinit=4\r\nmpecho 中文注释\r\n@@1 0.5 1 0.5\r\nmpout\r\n";
        WriteBytes(dir.filePath("gbk.txt"), codec::Utf8ToGbk(script));
        WriteBytes(dir.filePath("utf8.txt"), "\xEF\xBB\xBF" + script);
        MainWindow w;
        w.show();
        QTest::mouseClick(w.controls().realTimeBox, Qt::LeftButton);  // loads score anyway
        for (const QString& name : {QStringLiteral("gbk.txt"), QStringLiteral("utf8.txt")}) {
            w.controls().scriptBox->clear();
            w.LoadScriptFile(dir.filePath(name));
            QCOMPARE(Script(w), Shown(script));
            QCOMPARE(Report(w), Shown(ScoreScript(script)));
        }
        const QString before = Report(w);
        w.LoadScriptFile(dir.filePath("missing.txt"));
        w.LoadScriptFile(dir.path());
        QCOMPARE(Script(w), Shown(script));
        QCOMPARE(Report(w), before);
    }

    void scriptEndsAtNulAndOversizedOrBinaryFilesAreRefused() {
        QTemporaryDir dir;
        const std::string blanks(8200, ' ');
        WriteBytes(dir.filePath("nul.txt"), "mpout\r\n" + blanks + std::string("\0mpinit=4\r\n", 12));
        MainWindow w;
        w.show();
        w.LoadScriptFile(dir.filePath("nul.txt"));
        QCOMPARE(Script(w), QStringLiteral("mpout\n") + QString::fromStdString(blanks));
        // A NUL near the start: no text at all, and the script stays.
        WriteBytes(dir.filePath("binary.bin"), std::string("\x7F" "ELF\2\1\1\0\0\0", 10));
        const auto binary = DismissNextModal();
        w.LoadScriptFile(dir.filePath("binary.bin"));
        QVERIFY(binary->seen);
        QVERIFY(binary->text.contains(QStringLiteral("不是文本文件")));
        QCOMPARE(Script(w), QStringLiteral("mpout\n") + QString::fromStdString(blanks));
        WriteBytes(dir.filePath("nul.txt"), "mpout\r\n");
        w.LoadScriptFile(dir.filePath("nul.txt"));
        std::string big(16777216, ' ');
        WriteBytes(dir.filePath("big.txt"), big);
        const auto seen = DismissNextModal();
        w.LoadScriptFile(dir.filePath("big.txt"));
        QVERIFY(seen->seen);
        QVERIFY(seen->text.contains(QStringLiteral("16,777,215")));
        QCOMPARE(Script(w), QStringLiteral("mpout\n"));
        big.pop_back();
        WriteBytes(dir.filePath("big.txt"), big);
        w.LoadScriptFile(dir.filePath("big.txt"));  // exactly at the limit: loaded
        QVERIFY(Report(w) != QStringLiteral("NULL"));  // the report is there at once
        QVERIFY(w.controls().scriptBox->isReadOnly());  // the text goes in a piece at a time
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w).size(), 16777215);
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        // One step back, the old text going in as a load does while the window answers (Qt's own
        // undo of so long a text froze it for seconds), coloured once it is in.
        QTest::keyClick(w.controls().scriptBox, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Report(w), ExpectedReport(QStringLiteral("mpout\n")));
        QVERIFY(w.controls().scriptBox->isReadOnly());
        QCOMPARE(w.controls().scriptBox->viewport()->cursor().shape(), Qt::BusyCursor);
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w), QStringLiteral("mpout\n"));
        QTRY_COMPARE(FirstColour(w.controls().scriptBox, 0), QColor(0x6a, 0x3d, 0x9a));

        // A long text taken out a piece at a time from its end, the first piece ending inside a
        // pair of code units: Ctrl+Z brings the whole text back, rescored from what the box holds.
        std::string pairs = "mpout\n#";
        for (int i = 0; i < 100000; ++i) pairs += "\xF0\x9F\x98\x80";
        pairs += "\n";  // 200,008 code units
        WriteBytes(dir.filePath("pairs.txt"), pairs);
        w.LoadScriptFile(dir.filePath("pairs.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        w.LoadScriptFile(dir.filePath("nul.txt"));
        QVERIFY(w.controls().scriptBox->isReadOnly());
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w), QStringLiteral("mpout\n"));
        QTest::keyClick(w.controls().scriptBox, Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w), QString::fromStdString(pairs));
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        // Ctrl+Z while a text is still going in is not lost: the text before it comes back,
        // and a second Ctrl+Z takes that back in turn.
        w.LoadScriptFile(dir.filePath("nul.txt"));
        QVERIFY(w.controls().scriptBox->isReadOnly());
        QTest::keyClick(w.controls().scriptBox, Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w), QString::fromStdString(pairs));
        QTest::keyClick(w.controls().scriptBox, Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!w.controls().scriptBox->isReadOnly(), 60000);
        QCOMPARE(Script(w), QStringLiteral("mpout\n"));
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
    }

    // Keys typed into a long script while its run goes on are merged: only the newest text is
    // scored, and the box takes every key meanwhile.
    void typingIntoALongScriptScoresTheNewestText() {
        std::string script = "$$ \n";
        while (script.size() < 2200 * 1024) script += "$$4.2 VVX VXX*0.5 0.6\n@@1 1 0.5 1\n";
        QTemporaryDir dir;
        WriteBytes(dir.filePath("long.txt"), script);
        MainWindow w;
        w.show();
        QPlainTextEdit* box = w.controls().scriptBox;
        w.LoadScriptFile(dir.filePath("long.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(!box->isReadOnly(), 60000);
        int shown = 0;
        connect(w.controls().reportBox, &QPlainTextEdit::textChanged, this, [&] { ++shown; });
        box->moveCursor(QTextCursor::Start);
        box->moveCursor(QTextCursor::EndOfLine);
        QTest::keyClicks(box, "12345678");  // every digit changes the count form's line of the report
        QVERIFY(w.scoring());
        QTRY_VERIFY(!w.scoring());
        QVERIFY(Script(w).startsWith(QStringLiteral("$$ 12345678\n")));
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        QVERIFY2(shown <= 2, qPrintable(QString::number(shown)));
        // Whatever reads the last report waits for the newest text's run.
        QTest::keyClick(box, Qt::Key_9);
        const auto analysis = DismissNextModal();
        w.ShowAnalysis();
        QVERIFY(!w.scoring());
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
    }

    // Another script's report starts at its top; an edit of the same script keeps the place.
    void aNewReportStartsAtItsTop() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        QScrollBar* bar = c.reportBox->verticalScrollBar();
        c.sampleActions[3]->trigger();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        c.sampleActions[4]->trigger();
        QCOMPARE(bar->value(), 0);
        bar->setValue(bar->maximum() / 2);
        const int place = bar->value();
        QTest::keyClick(c.scriptBox, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(c.scriptBox, "0");  // $$8.4 0.8844 becomes 0.88440
        QCOMPARE(bar->value(), place);
        QTemporaryDir dir;
        WriteBytes(dir.filePath("a.txt"), std::string(BuiltInSamples[3].text));
        w.LoadScriptFile(dir.filePath("a.txt"));
        QCOMPARE(bar->value(), 0);
    }

    void dropLoadsOnlyTheFirstFile() {
        QTemporaryDir dir;
        WriteBytes(dir.filePath("a.txt"), "mpinit=1\r\nmpout\r\n");
        WriteBytes(dir.filePath("b.txt"), "mpinit=2\r\nmpout\r\n");
        MainWindow w;
        w.show();
        Drop(w.controls().scriptBox->viewport(),
             {QUrl::fromLocalFile(dir.filePath("a.txt")), QUrl::fromLocalFile(dir.filePath("b.txt")),
              QUrl::fromLocalFile(dir.filePath("c.txt"))});
        QCOMPARE(Script(w), QStringLiteral("mpinit=1\nmpout\n"));
        Drop(&w, {QUrl::fromLocalFile(dir.filePath("b.txt"))});
        QCOMPARE(Script(w), QStringLiteral("mpinit=2\nmpout\n"));
        Drop(w.controls().reportBox->viewport(), {QUrl::fromLocalFile(dir.path())});  // a folder
        QCOMPARE(Script(w), QStringLiteral("mpinit=2\nmpout\n"));
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
    }

    void closeEscAndEnterLeaveTheWindowOpen() {
        MainWindow w;
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        w.setFocus();
        QTest::keyClick(&w, Qt::Key_Escape);
        QTest::keyClick(&w, Qt::Key_Return);
        QTest::keyClick(&w, Qt::Key_Enter);
        QVERIFY(w.isVisible());
        QTest::keyClick(w.controls().scriptBox, Qt::Key_Escape);
        QVERIFY(w.isVisible());
    }

    void exitButtonAndMenuClose() {
        MainWindow byButton;
        byButton.show();
        QTest::mouseClick(byButton.controls().exitButton, Qt::LeftButton);
        QVERIFY(!byButton.isVisible());
        QCOMPARE(byButton.result(), int(QDialog::Accepted));
        MainWindow byMenu;
        byMenu.show();
        byMenu.controls().sampleActions[3]->trigger();  // a sample as it came: nothing to lose
        QTest::qWait(50);  // colouring and marking it are no edits
        QVERIFY(!byMenu.model().modified());
        byMenu.controls().exitAction->trigger();
        QVERIFY(!byMenu.isVisible());
    }

    // Edits that no file holds: 退出 asks, 取消 keeps the window, 保存 ends only once the
    // script is saved, 不保存 ends without it.
    void exitAsksBeforeEditsAreLost() {
        QTemporaryDir dir;
        MainWindow w;
        w.show();
        QTest::keyClicks(w.controls().scriptBox, "mpout");
        const auto cancelled = AnswerNextModals({QStringLiteral("取消")});
        w.controls().exitButton->click();
        QCOMPARE(cancelled->size(), std::size_t{1});
        QCOMPARE(cancelled->front().text, Utf8(app::FrontEnd::ExitQuestion().text));
        QCOMPARE(cancelled->front().buttons, (QStringList{"保存", "不保存", "取消"}));
        QVERIFY(w.isVisible());
        // 保存 with no file yet asks where; cancelling that saves nothing and keeps the window.
        const auto unsaved = AnswerNextModals({QStringLiteral("保存"), QStringLiteral("reject")});
        w.controls().exitAction->trigger();
        QCOMPARE(unsaved->size(), std::size_t{2});
        QVERIFY(w.isVisible());
        QVERIFY(w.model().modified());
        // Saved once, the next edit asks again; 保存 writes to that file and ends.
        QVERIFY(w.SaveTo(dir.filePath("a.txt"), false));
        QTest::keyClicks(w.controls().scriptBox, "2");
        const auto saved = AnswerNextModals({QStringLiteral("保存")});
        w.controls().exitButton->click();
        QCOMPARE(saved->size(), std::size_t{1});
        QVERIFY(!w.isVisible());
        QFile file(dir.filePath("a.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("mpout2      ****"));  // typed at the start of the notice

        MainWindow discarded;
        discarded.show();
        QTest::keyClicks(discarded.controls().scriptBox, "x");
        const auto discard = AnswerNextModals({QStringLiteral("不保存")});
        discarded.controls().exitButton->click();
        QCOMPARE(discard->size(), std::size_t{1});
        QVERIFY(!discarded.isVisible());
    }

    void aboutBox() {
        MainWindow w;
        w.show();
        const auto seen = DismissNextModal();
        w.ShowAbout();
        QVERIFY(seen->seen);
        QCOMPARE(seen->title, QStringLiteral("关于 Quillon0701"));
        QVERIFY(w.isVisible());
    }

    void windowMenuOffersTheAboutEntry() {
        MainWindow w;
        w.show();
        QString entry;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            entry = menu->actions().first()->text();
            menu->setActiveAction(menu->actions().first());
            QTest::keyClick(menu, Qt::Key_Return);
        });
        const auto about = DismissNextModal();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), w.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&w, &rightClick);
        QCOMPARE(entry, QStringLiteral("关于 Quillon0701(&A)..."));
        QVERIFY(about->seen);
        QCOMPARE(about->title, QStringLiteral("关于 Quillon0701"));
    }

    void f2ShowsAMessageOnlyWithoutAFocusedControl() {
        MainWindow w;
        w.show();
        auto seen = DismissNextModal();
        QTest::keyClick(w.controls().scriptBox, Qt::Key_F2);
        QTest::qWait(50);
        QVERIFY(!seen->seen);
        w.controls().scriptBox->clearFocus();
        w.setFocus();
        QTest::keyClick(&w, Qt::Key_F2);
        QVERIFY(seen->seen);
        QCOMPARE(seen->text, QStringLiteral("VK_F2"));
    }

    void scriptMirrorFollowsEveryKindOfEdit() {
        QPlainTextEdit box;
        box.setPlainText(QStringLiteral("mpinit=4\n@@1 0.5"));
        ScriptMirror mirror;
        mirror.follow(box.document());
        const auto same = [&] { return mirror.utf8() == ScriptMirror::DocumentText(*box.document()).toStdString(); };
        QVERIFY(same());
        QTextCursor cursor(box.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\n$$4.2 VVX 中文 😀\nmpout"));
        QVERIFY(same());
        cursor.setPosition(3);
        cursor.setPosition(12, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QVERIFY(same());
        cursor.setPosition(box.document()->characterCount() - 7);  // before the last line break
        cursor.insertText(QStringLiteral("\u00a0x\ny😀z"));
        QVERIFY(same());
        cursor.setPosition(box.document()->characterCount() - 9);  // inside the emoji's pair
        cursor.insertText(QStringLiteral("q"));
        QVERIFY(same());
        box.undo();
        QVERIFY(same());
        box.undo();
        QVERIFY(same());
        box.redo();
        QVERIFY(same());
        box.selectAll();
        box.insertPlainText(QStringLiteral("a\nb"));
        QVERIFY(same());
        box.setPlainText(QString());
        QVERIFY(same());
        QCOMPARE(mirror.utf8(), std::string());
        box.setPlainText(QStringLiteral("mpout\n"));
        QVERIFY(same());
        QCOMPARE(mirror.utf8(), std::string("mpout\n"));
    }

    void reportViewReplacesOnlyWhatChanged() {
        QPlainTextEdit box;
        ReportView view(&box);
        const auto shown = [&] { return box.document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')); };
        const std::string reports[] = {"NULL", ScoreScript("mpout"), ScoreScript("mpecho 一\r\nmpout"),
                                       ScoreScript("mpecho 二😀\r\nmpout 100"), ScoreScript("mpecho 二😀\r\nmpout 100"),
                                       ScoreScript("$$ 1\r\nmpout"), ScoreScript("$$ 11\r\nmpout"), ScoreScript(""), "NULL"};
        for (const std::string& report : reports) {
            const QString expected = Shown(report);
            view.show(expected.toStdString());
            QCOMPARE(shown(), expected);
        }
        // A selection belongs to the report it was made in.
        box.selectAll();
        view.show(Shown(reports[1]).toStdString());
        QVERIFY(!box.textCursor().hasSelection());
    }

    // A row's command word is coloured by what the run took the row as: mpinit=9 is a comment, a
    // TAB before mpout is dropped, and an edit that changes a row's kind recolours it.
    void rowsAreColouredAsTheRunTookThem() {
        MainWindow w;
        w.show();
        QPlainTextEdit* box = w.controls().scriptBox;
        box->setPlainText(QStringLiteral("mpinit=9\nmpinit=2\n$$4.02 VVX\n\tmpout\n MPOUT\n@@1 1"));
        const auto colourAt = [&](int row) { return FirstColour(box, row); };
        const QColor comment(0x5f, 0x63, 0x68), level(0x1f, 0x5f, 0x8b), unit(0x2e, 0x7d, 0x32),
            report(0x6a, 0x3d, 0x9a), layer(0x00, 0x79, 0x86);
        for (const auto& [row, colour] : {std::pair{0, comment}, {1, level}, {2, unit}, {3, report}, {4, comment}, {5, layer}}) {
            QCOMPARE(colourAt(row), colour);
        }
        QTextCursor cursor(box->document()->findBlockByNumber(0));
        cursor.setPosition(cursor.position() + 7);
        cursor.deleteChar();
        cursor.insertText(QStringLiteral("1"));  // mpinit=1
        QCOMPARE(colourAt(0), level);
        QTest::mouseClick(w.controls().realTimeBox, Qt::LeftButton);  // off: edits are read alone
        cursor.insertText(QStringLiteral("0"));  // mpinit=10 is still a level set-up
        QCOMPARE(colourAt(0), level);
        cursor.movePosition(QTextCursor::StartOfBlock);
        cursor.insertText(QStringLiteral(" "));
        QCOMPARE(colourAt(0), comment);
    }

    void problemLinesAreMarkedWithTheirMessages() {
        MainWindow w;
        w.show();
        QPlainTextEdit* box = w.controls().scriptBox;
        box->clear();
        TypeAscii(box, QStringLiteral("mpinit=4\n\n@@9 1\n$$4.2 VVX / VVV\nmpout"));
        QVERIFY(w.lineMessages(0).isEmpty());
        QVERIFY(w.lineMessages(2).contains(QStringLiteral("警告[Q201]")));
        QVERIFY(w.lineMessages(3).contains(QStringLiteral("警告[Q304]")));
        QVERIFY(w.lineMessages(3).contains(QStringLiteral("“/”")));
        // On screen: the line tinted across the box, its word "/" darker; a clean line is not.
        const QTextBlock marked = box->document()->findBlockByNumber(3);
        const QImage image = box->viewport()->grab().toImage();
        const auto tinted = [&](int row, const QColor& colour, int fromX, int toX) {
            const QRect line = box->cursorRect(QTextCursor(box->document()->findBlockByNumber(row)));
            int count = 0;
            for (int y = line.top(); y <= line.bottom(); ++y) {
                for (int x = std::max(fromX, 0); x < std::min(toX, image.width()); ++x) {
                    count += image.pixelColor(x, y) == colour;
                }
            }
            return count;
        };
        QTextCursor word(marked);
        word.setPosition(marked.position() + 10);  // "$$4.2 VVX /": the slash
        const int wordX = box->cursorRect(word).left();
        QVERIFY(tinted(3, ProblemMarks::LineTint(), box->viewport()->width() - 40, box->viewport()->width()) > 40);
        QVERIFY(tinted(3, ProblemMarks::WordTint(), wordX, wordX + 10) > 10);
        QCOMPARE(tinted(0, ProblemMarks::LineTint(), 0, image.width()), 0);
        // Its message is the line's tooltip.
        const QPoint onLine = box->cursorRect(QTextCursor(marked)).center();
        QHelpEvent help(QEvent::ToolTip, onLine, box->viewport()->mapToGlobal(onLine));
        QApplication::sendEvent(box->viewport(), &help);
        QVERIFY(QToolTip::text().contains(QStringLiteral("Q304")));
        // Over the command word, the tip also names the unit it sets.
        QTextCursor command(marked);
        command.setPosition(marked.position() + 2);
        const QPoint onCommand = box->cursorRect(command).center() + QPoint(2, 0);
        QHelpEvent overCommand(QEvent::ToolTip, onCommand, box->viewport()->mapToGlobal(onCommand));
        QApplication::sendEvent(box->viewport(), &overCommand);
        QVERIFY2(QToolTip::text().startsWith(QStringLiteral("4.2 应用与数据安全_2.访问控制信息完整性")), qPrintable(QToolTip::text()));
        // and what the line stored: VVX alone, the "/" ends the objects.
        QVERIFY2(QToolTip::text().contains(QStringLiteral("\n4.2 ← 0.5 = (0.5) / 1\n")), qPrintable(QToolTip::text()));
        QVERIFY(QToolTip::text().contains(QStringLiteral("Q304")));
        // Mended, the mark goes; the report is what quillon-score prints.
        QTextCursor cursor(marked);
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor, 2);
        cursor.insertText(QStringLiteral("VVV"));
        QVERIFY(w.lineMessages(3).isEmpty());
        QCOMPARE(Report(w), ExpectedReport(Script(w)));
        // The notice is never scored and shows no marks.
        w.controls().sampleActions[0]->trigger();
        QVERIFY(w.lineMessages(2).isEmpty());
    }

    // A report cut at its limit is said under the buttons; rows far past the thousandth problem
    // are marked once scrolled into view.
    void cutReportsAreSaidAndRowsInViewMarked() {
        QTemporaryDir dir;
        std::string script;
        for (int i = 0; i < 100000; ++i) script += i % 10 == 9 ? "@@9 1\n" : "mpecho 第" + std::to_string(i) + "行的备注 abcdefghij\n";
        WriteBytes(dir.filePath("long.txt"), script);
        MainWindow w;
        w.show();
        w.LoadScriptFile(dir.filePath("long.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(w.lineMessages(9).contains(QStringLiteral("Q201")), 60000);
        QCOMPARE(w.controls().reportNotice->text(), Utf8(ReportCutMessage()));
        QVERIFY(w.controls().reportNotice->isVisible());
        QVERIFY(!w.model().modified());  // taking the colouring off a long text is no edit
        QVERIFY(w.lineMessages(50009).isEmpty());
        w.controls().scriptBox->verticalScrollBar()->setValue(50000);
        QVERIFY(w.lineMessages(50009).contains(QStringLiteral("Q201")));
        QVERIFY(w.lineMessages(50010).isEmpty());
        // A jump to the end, as the keyboard makes it, marks the last rows too.
        w.controls().scriptBox->setFocus();
        QTest::keyClick(w.controls().scriptBox, Qt::Key_End, Qt::ControlModifier);
        QTRY_VERIFY(w.lineMessages(99999).contains(QStringLiteral("Q201")));
        w.controls().sampleActions[3]->trigger();
        QVERIFY(w.controls().reportNotice->text().isEmpty());
    }

    void noticeShowsNullAlsoAfterAMarkedRun() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        for (const bool fromMenu : {true, false}) {
            c.scriptBox->clear();
            TypeAscii(c.scriptBox, QStringLiteral("@@9\nmpout"));
            QVERIFY(!w.lineMessages(0).isEmpty());
            if (fromMenu) {
                c.sampleActions[0]->trigger();
            } else {
                c.sampleList->setCurrentIndex(0);
                Q_EMIT c.sampleList->activated(0);
            }
            QCOMPARE(Report(w), QStringLiteral("NULL"));
            QVERIFY(w.lineMessages(0).isEmpty());
            QCOMPARE(Script(w), Shown(NoticeText));
        }
    }

    void iconIsLinkedIntoTheProgram() {
        QVERIFY(!WindowIcon().pixmap(32, 32).isNull());
        MainWindow w;
        QVERIFY(!w.windowIcon().availableSizes().isEmpty());
    }

    void closedSampleListIgnoresTheWheelAndArrowKeys() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        const QString before = Script(w);
        const QPointF inside(10, 5);
        QWheelEvent wheel(inside, c.sampleList->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.sampleList, &wheel);
        QCOMPARE(c.sampleList->currentIndex(), 0);
        QCOMPARE(Script(w), before);
        c.sampleList->setFocus();
        QTest::keyClick(c.sampleList->lineEdit(), Qt::Key_Down);
        QCOMPARE(c.sampleList->currentIndex(), 0);
        QCOMPARE(Script(w), before);
        QVERIFY(c.sampleList->view()->isVisible());  // the key opens the list instead
        c.sampleList->hidePopup();
        // The dropped list shows its labels whole.
        QVERIFY(c.sampleList->view()->minimumWidth() >= c.sampleList->view()->sizeHintForColumn(0));
    }

    void replacedScriptComesBackWithUndo() {
        QTemporaryDir dir;
        WriteBytes(dir.filePath("a.txt"), "mpinit=1\r\nmpout\r\n");
        MainWindow w;
        w.show();
        QPlainTextEdit* box = w.controls().scriptBox;
        box->clear();
        TypeAscii(box, QStringLiteral("mpinit=2\nmpout"));
        const QString typed = Script(w);
        w.controls().sampleActions[3]->trigger();
        QCOMPARE(Script(w), Shown(BuiltInSamples[3].text));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Script(w), typed);
        QCOMPARE(Report(w), ExpectedReport(typed));  // an undo is an edit: rescored
        w.LoadScriptFile(dir.filePath("a.txt"));
        QCOMPARE(Script(w), QStringLiteral("mpinit=1\nmpout\n"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Script(w), typed);
    }

    void savingAsUtf8OrGbk() {
        QTemporaryDir dir;
        MainWindow w;
        w.show();
        QPlainTextEdit* box = w.controls().scriptBox;
        box->clear();
        TypeChinese(box, QStringLiteral("mpecho 中文\nmpout"));
        const auto bytesOf = [&](const QString& name) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(none)");
        };
        QVERIFY(w.SaveTo(dir.filePath("gbk.txt"), true));
        QCOMPARE(bytesOf("gbk.txt"), codec::Utf8ToGbk("mpecho 中文\r\nmpout"));
        QVERIFY(w.SaveTo(dir.filePath("utf8.txt"), false));
        QCOMPARE(bytesOf("utf8.txt"), std::string("mpecho 中文\r\nmpout"));
        QVERIFY(!w.model().modified());
        TypeChinese(box, QStringLiteral("😀"));
        QVERIFY(w.model().modified());
        QVERIFY(w.Save());  // to the last file saved, without asking
        QCOMPARE(bytesOf("utf8.txt"), std::string("mpecho 中文\r\nmpout😀"));
        // What GBK cannot hold is not written as "?": nothing is written, and the user is told.
        const auto refused = DismissNextModal();
        QVERIFY(!w.SaveTo(dir.filePath("lossy.txt"), true));
        QVERIFY(refused->seen);
        QVERIFY(refused->text.contains(QStringLiteral("GBK")));
        QVERIFY(!QFile::exists(dir.filePath("lossy.txt")));
        const auto unwritable = DismissNextModal();
        QVERIFY(!w.SaveTo(dir.filePath("no/such/folder.txt"), false));
        QVERIFY(unwritable->seen);
        TypeChinese(box, QStringLiteral("。"));
        const auto refusedAgain = DismissNextModal();
        QVERIFY(!w.SaveTo(dir.filePath("lossy.txt"), true));
        QVERIFY(w.model().modified());  // a refused save saved nothing
    }

    void aboutAndAnalysisInTheMenuBar() {
        MainWindow w;
        w.show();
        const Controls& c = w.controls();
        QCOMPARE(c.menuBar->actions()[2]->text(), QStringLiteral("分析(&A)"));
        // An entry for every export format, in its order, before 链接官网 (Debian has libxlsxwriter).
        const auto formats = app::ExportFormats();
        QCOMPARE(c.exportActions.size(), formats.size());
        for (std::size_t k = 0; k < formats.size(); ++k) {
            QCOMPARE(c.exportActions[k]->property("commandId").toInt(), formats[k].command);
        }
        QCOMPARE(c.exportActions[0]->text(), QStringLiteral("导出表格(&CSV)..."));
        const QList<QAction*> file = c.menuBar->actions()[0]->menu()->actions();
        QCOMPARE(file.indexOf(c.exportActions.back()) + 1, file.indexOf(c.homePageAction));
        c.sampleActions[3]->trigger();
        // 分析: two units ticked show the total --assume 4.4,7.4 gives, and no word of the tool.
        QString title, head, whatIf;
        QStringList rows;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) return;
            title = dialog->windowTitle();
            head = dialog->findChild<QLabel*>("analysisText")->text();
            auto* units = dialog->findChild<QListWidget*>("analysisUnits");
            for (int row = 0; row < units->count(); ++row) {
                rows << units->item(row)->text();
                if (rows.back().startsWith("4.4 ") || rows.back().startsWith("7.4 ")) units->item(row)->setCheckState(Qt::Checked);
            }
            whatIf = dialog->findChild<QPlainTextEdit*>("analysisWhatIf")->toPlainText();
            qobject_cast<QDialog*>(dialog)->accept();
        });
        c.analysisAction->trigger();
        QCOMPARE(title, QStringLiteral("分析：各单元增分"));
        QVERIFY(head.startsWith(QStringLiteral("4级 密评总分 69.680（69.6798）")));
        QCOMPARE(rows.value(0), QStringLiteral("4.4    0.2500   1.0  +3.3570    73.0368  应用与数据安全_4.重要数据传输机密性"));
        QCOMPARE(whatIf.section('\n', 0, 0),
                 QStringLiteral("假设 4.4、7.4 符合（得分 1），其余不变：总分 74.860（74.8552），增分 +5.1754；各单元单独的增分之和为 +5.1754。"));
        QVERIFY(!whatIf.contains(QStringLiteral("quillon-score")));
        // 与脚本文件比较: the file is "before", the box "after"; the model's text, an export button a format.
        QCOMPARE(c.compareAction->text(), QStringLiteral("与脚本文件比较(&C)..."));
        QTemporaryDir dir;
        const QString before = dir.filePath("before.txt");
        QFile beforeFile(before);
        QVERIFY(beforeFile.open(QIODevice::WriteOnly));
        beforeFile.write(BuiltInSamples[2].text.data(), static_cast<qint64>(BuiltInSamples[2].text.size()));
        beforeFile.close();
        QString compared;
        int exportButtons = 0;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) return;
            compared = dialog->findChild<QPlainTextEdit*>("comparisonText")->toPlainText();
            for (const app::ExportFormat& format : formats) {
                exportButtons += dialog->findChild<QPushButton*>(QString::fromStdString("export_" + std::string(format.name))) != nullptr;
            }
            qobject_cast<QDialog*>(dialog)->accept();
        });
        w.CompareWithFile(before);
        app::FrontEnd model;
        const std::string script = model.sampleChosen(3).script.value_or("");
        const std::string expected = model.compareWithFile(before.toStdString(), {app::FileRead::Status::Read, std::string(BuiltInSamples[2].text)}, script).text;
        QCOMPARE(compared, QString::fromStdString(expected));
        QVERIFY(compared.contains(QStringLiteral("\n整改后：脚本框中的脚本  4级 密评总分 69.680（69.6798）\n")));
        QCOMPARE(exportButtons, static_cast<int>(formats.size()));
        QCOMPARE(c.menuBar->actions()[3]->text(), QStringLiteral("关于(&H)"));
        QCOMPARE(c.aboutAction->text(), QStringLiteral("关于 Quillon0701(&A)..."));
        const auto about = DismissNextModal();
        c.aboutAction->trigger();
        QVERIFY(about->seen);
        QCOMPARE(about->title, QStringLiteral("关于 Quillon0701"));
    }

    // The menu bar is the windows' table, with its shortcuts; Alt+F opens 文件, Ctrl+O the open
    // dialog, scripts listed first.
    void keyboardReachesTheMenusAndTheOpenDialog() {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const Controls& c = w.controls();
        const std::vector<app::Menu> menus = app::MainMenus(true);
        QCOMPARE(c.menuBar->actions().size(), static_cast<qsizetype>(menus.size()));
        for (std::size_t m = 0; m < menus.size(); ++m) {
            QAction* title = c.menuBar->actions()[static_cast<qsizetype>(m)];
            QCOMPARE(title->text(), QString::fromStdString(menus[m].title));
            const QList<QAction*> entries = title->menu()->actions();
            QCOMPARE(entries.size(), static_cast<qsizetype>(menus[m].entries.size()));
            for (std::size_t e = 0; e < menus[m].entries.size(); ++e) {
                const app::MenuEntry& entry = menus[m].entries[e];
                QAction* action = entries[static_cast<qsizetype>(e)];
                QCOMPARE(action->text(), QString::fromStdString(entry.text));
                QCOMPARE(action->property("commandId").toInt(), entry.command);
                QCOMPARE(action->shortcut(), QKeySequence(QString::fromStdString(app::ShortcutText(entry.ctrlKey))));
            }
        }
        QCOMPARE(c.loadAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QMenu* opened = nullptr;
        QTimer::singleShot(100, [&] {
            opened = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (opened != nullptr) opened->close();
        });
        QTest::keyClick(&w, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(opened != nullptr);
        QCOMPARE(opened, c.menuBar->actions()[0]->menu());
        QStringList filters;
        QTimer::singleShot(100, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                filters = dialog->nameFilters();
                dialog->reject();
            }
        });
        QTest::keyClick(c.scriptBox, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(filters, (QStringList{QStringLiteral("脚本文件 (*.txt *.qs)"), QStringLiteral("所有文件 (*)")}));
        QVERIFY(w.model().sampleIndex() == 0 && c.reportBox->toPlainText() == QStringLiteral("NULL"));  // cancelled: nothing
    }

    void rescoringClearsASelectionInTheReport() {
        MainWindow w;
        w.show();
        QTest::keyClick(w.controls().scriptBox, Qt::Key_M);
        w.controls().reportBox->selectAll();
        QTest::keyClick(w.controls().scriptBox, Qt::Key_P);
        QVERIFY(!w.controls().reportBox->textCursor().hasSelection());
    }

    // On a 1024 x 600 screen the font is smaller than the design's; every label stays whole.
    void labelsAreWholeOnASmallScreen() {
        const QFont font = DialogFontFitting(kMainWindowDialogUnits, QSize(16, 64), QSize(1024, 600 - 40));
        QVERIFY(font.pixelSize() < kDialogFontPixels);
        QDialog dialog;
        const Controls c = BuildControls(dialog, font);
        for (QWidget* labelled : std::initializer_list<QWidget*>{c.computeButton, c.realTimeBox, c.loadButton, c.exitButton, c.groupBox}) {
            QVERIFY2(labelled->width() >= labelled->sizeHint().width(), qPrintable(labelled->objectName()));
        }
        QVERIFY(c.realTimeBox->geometry().right() < c.groupBox->geometry().right());  // still in its frame
        QVERIFY(dialog.width() <= 1024);
    }

    void fontFitsTheScreenAndQtSpeaksChinese() {
        // At twice the scale a 1600 x 1000 screen is 800 x 500 for the window.
        const QFont font = DialogFontFitting(kMainWindowDialogUnits, QSize(16, 64), QSize(800, 500));
        const QSize window = DialogUnits(font).toPixels(687, 421) + QSize(16, 64);
        QVERIFY(window.width() <= 800 && window.height() <= 500);
        QCOMPARE(DialogFontFitting(kMainWindowDialogUnits, QSize(16, 64), QSize(4000, 3000)).pixelSize(), kDialogFontPixels);
        QVERIFY(InstallChineseQtTexts());
        QPlainTextEdit box;
        const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) texts << action->text();
        QVERIFY2(texts.join(QLatin1Char(' ')).contains(QStringLiteral("复制")), qPrintable(texts.join(QLatin1Char(' '))));
    }

    void linkCommands() {
        MainWindow w(app::Links{"https://home.invalid/", "https://home.invalid/wxm-skm.jpg"});
        QList<QUrl> opened;
        w.setUrlOpener([&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        const auto noMessage = DismissNextModal(20);
        QVERIFY(w.controls().homePageAction->isEnabled() && w.controls().donationAction->isEnabled());
        w.controls().homePageAction->trigger();
        w.controls().donationAction->trigger();
        const QString workingFolder = QDir::currentPath();
        QTemporaryDir folder;
        QDir::setCurrent(folder.path());
        QFile help(QStringLiteral("help2.htm"));
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        w.controls().helpAction->trigger();
        help.remove();
        QCOMPARE(opened.size(), 3);
        QCOMPARE(opened[0], QUrl(QStringLiteral("https://home.invalid/")));
        QCOMPARE(opened[1].fileName(), QStringLiteral("wxm-skm.jpg"));
        QVERIFY(opened[2].isLocalFile());
        QCOMPARE(opened[2].fileName(), QStringLiteral("help2.htm"));
        QTest::qWait(300);
        QVERIFY(!noMessage->seen);

        // No browser: the user is told which target did not open.
        w.setUrlOpener([](const QUrl&) { return false; });
        const auto failed = DismissNextModal();
        w.controls().homePageAction->trigger();
        QVERIFY(failed->seen);
        QVERIFY2(failed->text.contains(QStringLiteral("打不开官网")) && failed->text.contains(QStringLiteral("https://home.invalid/")),
                 qPrintable(failed->text));
        // No help page beside the program or in the working folder: told, nothing opened.
        w.setUrlOpener([&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        const auto missing = DismissNextModal();
        w.controls().helpAction->trigger();
        QVERIFY(missing->seen);
        QVERIFY(missing->text.contains(QStringLiteral("打不开帮助页")));
        QCOMPARE(opened.size(), 3);
        QDir::setCurrent(workingFolder);

        // Installed, the page is in the program's data folder; in the build folder, beside it.
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("usr/bin") && QDir(root.path()).mkpath("usr/share/quillon") && QDir(root.path()).mkpath("work"));
        const QString program = root.filePath("usr/bin"), work = root.filePath("work");
        QCOMPARE(FindProgramFile("help2.htm", work, program), QString());
        WriteBytes(root.filePath("usr/share/quillon/help2.htm"), "installed");
        QCOMPARE(FindProgramFile("help2.htm", work, program), root.filePath("usr/share/quillon/help2.htm"));
        WriteBytes(root.filePath("usr/bin/help2.htm"), "built");
        QCOMPARE(FindProgramFile("help2.htm", work, program), root.filePath("usr/bin/help2.htm"));
        WriteBytes(root.filePath("work/help2.htm"), "here");
        QCOMPARE(FindProgramFile("help2.htm", work, program), root.filePath("work/help2.htm"));

        // A build without addresses has the two web entries disabled.
        MainWindow bare(app::Links{});
        QVERIFY(!bare.controls().homePageAction->isEnabled());
        QVERIFY(!bare.controls().donationAction->isEnabled());
        QVERIFY(bare.controls().helpAction->isEnabled());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
