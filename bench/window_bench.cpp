// The window's cost per keystroke and per load: from one typed character to the updated report
// box, and from a file to its report shown, against the library's run alone on the same text
// (with the account, as the window runs it). Run off screen, at 1 MiB and at 16 MiB. Then, at
// 16 MiB, what a person meets: Ctrl+Z after a load, and typing ten keys a second, each timed by
// the longest the window went without answering.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "app/builtin_texts.hpp"
#include "bench/script_mix.hpp"
#include "frontend/main_window.hpp"
#include "frontend/script_mirror.hpp"
#include "script/interpreter.hpp"

namespace {

double Milliseconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

void Measure(std::size_t mib, const QString& folder) {
    const std::string script = quillon::bench::ScriptMix(mib * 1024 * 1024 - 64);
    const QString path = folder + QStringLiteral("/mix%1.txt").arg(mib);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(script.data(), static_cast<qint64>(script.size()));
    file.close();

    quillon::frontend::MainWindow window;
    window.show();
    QApplication::processEvents();
    QPlainTextEdit* box = window.controls().scriptBox;
    // Three loads, each paired with a run of the library alone: each shows its report, then the
    // text goes in a piece at a time while the window answers, until the box can be edited.
    QElapsedTimer timer;
    double loadMs = 0;
    double libraryMs = 0;
    double filledMs = 0;
    for (int turn = 0; turn < 3; ++turn) {
        timer.start();
        quillon::InterpretScript(script, {}, true);
        libraryMs += Milliseconds(timer) / 3;
        timer.restart();
        window.LoadScriptFile(path);
        QApplication::processEvents();
        loadMs += Milliseconds(timer) / 3;
        while (box->isReadOnly()) QApplication::processEvents();
        filledMs += Milliseconds(timer) / 3;
    }
    box->moveCursor(QTextCursor::End);

    const int keystrokes = mib > 1 ? 5 : 20;
    // Each keystroke, with the event processing that repaints the boxes, is paired with a run
    // of the library alone on the text it left, so that both see the same load of the machine.
    struct Typed {
        double keyMs = 0;
        double libraryMs = 0;
    };
    const auto type = [&](Qt::Key key) {
        Typed typed;
        for (int i = 0; i < keystrokes; ++i) {
            timer.restart();
            QTest::keyClick(box, key);
            QApplication::processEvents();
            while (window.scoring()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);  // a long script's run is away
            typed.keyMs += Milliseconds(timer) / keystrokes;
            const std::string text = quillon::frontend::ScriptMirror::DocumentText(*box->document()).toStdString();
            timer.restart();
            quillon::InterpretScript(text, {}, true);
            typed.libraryMs += Milliseconds(timer) / keystrokes;
        }
        return typed;
    };
    // In a comment at the end the report stays as it was; in a count-form line every digit
    // changes it.
    const Typed comment = type(Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "$$ ");
    const Typed countForm = type(Qt::Key_1);

    std::printf("%zu MiB script, the library's run: %.2f ms\n", mib, libraryMs);
    std::printf("  load to shown report: %.1f ms, ratio %.2f; the whole text in the box: %.1f ms\n", loadMs, loadMs / libraryMs,
                filledMs);
    std::printf("  keystroke to repainted report, report unchanged: %.2f ms, ratio %.2f\n", comment.keyMs,
                comment.keyMs / comment.libraryMs);
    std::printf("  keystroke to repainted report, report changed:   %.2f ms, ratio %.2f\n", countForm.keyMs,
                countForm.keyMs / countForm.libraryMs);
}

// The longest the event loop went without turning (a timer asks every 5 ms), from start() on.
class Stalls : public QObject {
public:
    Stalls() {
        ticker_.setInterval(5);
        QObject::connect(&ticker_, &QTimer::timeout, this, [this] {
            longest_ = std::max(longest_, Milliseconds(sinceTick_));
            sinceTick_.restart();
        });
    }
    void start() {
        longest_ = 0;
        sinceTick_.start();
        ticker_.start();
    }
    double longestMs() {
        longest_ = std::max(longest_, Milliseconds(sinceTick_));
        return longest_;
    }

private:
    QTimer ticker_;
    QElapsedTimer sinceTick_;
    double longest_ = 0;
};

// Events as the display delivers them: queued, handled when the window gets to them.
void PostKey(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, text));
}

QString BoxText(const QPlainTextEdit* box) {
    return box->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString ReportOf(const std::string& script) {
    const std::string report = quillon::ScoreScript(script);
    return QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size())).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Processes events until `done` holds or `seconds` pass; the time taken, or -1.
template <typename Done>
double WaitFor(Done done, double seconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (Milliseconds(timer) > seconds * 1000) return -1;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return Milliseconds(timer);
}

QColor FirstColour(const QPlainTextEdit* box, int row) {
    const auto formats = box->document()->findBlockByNumber(row).layout()->formats();
    return formats.isEmpty() ? QColor() : formats.first().format.foreground().color();
}

// Ctrl+Z after a 16 MiB file was loaded over the notice: until the notice and its report are
// back, and whether the command words are coloured then and in sample 4 after it.
void MeasureUndo(const QString& path) {
    quillon::frontend::MainWindow window;
    window.show();
    QPlainTextEdit* box = window.controls().scriptBox;
    const QString notice = BoxText(box);
    const QString noticeReport = ReportOf(notice.toStdString());
    window.LoadScriptFile(path);
    WaitFor([&] { return !box->isReadOnly(); }, 120);
    QApplication::processEvents();
    Stalls stalls;
    stalls.start();
    QElapsedTimer timer;
    timer.start();
    box->setFocus();
    PostKey(box, Qt::Key_Z, Qt::ControlModifier, QString());
    const double backMs = WaitFor([&] { return box->document()->characterCount() == notice.size() + 1 && BoxText(box) == notice; }, 120);
    const double reportMs = WaitFor([&] { return BoxText(window.controls().reportBox) == noticeReport; }, 120);
    const double totalMs = Milliseconds(timer);
    const double longestMs = stalls.longestMs();
    const QColor comment(0x5f, 0x63, 0x68), level(0x1f, 0x5f, 0x8b);
    const bool noticeColoured = WaitFor([&] { return FirstColour(box, 0) == comment; }, 2) >= 0;
    window.ChooseSample(3);
    QApplication::processEvents();
    const bool sampleColoured = FirstColour(box, 0) == level;
    std::printf("16 MiB file loaded, then Ctrl+Z: the notice back after %.0f ms, its report after %.0f ms; "
                "the longest the window did not answer: %.0f ms; coloured after: %s, sample 4 after: %s\n",
                backMs, backMs < 0 || reportMs < 0 ? -1.0 : totalMs, longestMs, noticeColoured ? "yes" : "no",
                sampleColoured ? "yes" : "no");
}

// Typing twenty digits into a count-form line at the top of a 16 MiB script, ten a second, each
// key queued as the display queues it: how late the box took each key, the longest the window
// did not answer, and when the report of the last text was shown.
void MeasureTyping(const QString& path) {
    quillon::frontend::MainWindow window;
    window.show();
    QPlainTextEdit* box = window.controls().scriptBox;
    window.LoadScriptFile(path);
    WaitFor([&] { return !box->isReadOnly(); }, 120);
    box->setFocus();
    box->moveCursor(QTextCursor::Start);  // the report holds the top's lines; it is cut further on
    QTest::keyClicks(box, "$$ ");
    QTest::keyClick(box, Qt::Key_Return);
    box->moveCursor(QTextCursor::Start);
    box->moveCursor(QTextCursor::EndOfLine);
    WaitFor([] { return false; }, 1);  // whatever those keys set going
    constexpr int kKeys = 20;
    QString finalText = BoxText(box);
    finalText.insert(3, QString(kKeys, QLatin1Char('1')));
    const QString finalReport = ReportOf(finalText.toStdString());
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> posted(kKeys);
    std::vector<Clock::time_point> taken;
    struct KeyClock : QObject {
        std::vector<Clock::time_point>* taken;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) taken->push_back(Clock::now());
            return false;
        }
    } keyClock;
    keyClock.taken = &taken;
    box->installEventFilter(&keyClock);
    int reportsShown = 0;
    QObject::connect(window.controls().reportBox, &QPlainTextEdit::textChanged, &keyClock, [&] { ++reportsShown; });
    Stalls stalls;
    stalls.start();
    std::thread typist([&] {
        const Clock::time_point start = Clock::now();
        for (int k = 0; k < kKeys; ++k) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(100 * k));
            posted[static_cast<std::size_t>(k)] = Clock::now();
            PostKey(box, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        }
    });
    WaitFor([&] { return taken.size() == kKeys; }, 120);
    typist.join();
    const Clock::time_point lastKey = posted.back();
    WaitFor([&] { return BoxText(window.controls().reportBox) == finalReport; }, 120);
    const double lastReportMs = std::chrono::duration<double, std::milli>(Clock::now() - lastKey).count();
    const double longestMs = stalls.longestMs();
    double latestKeyMs = 0;
    for (int k = 0; k < kKeys; ++k) {
        const auto i = static_cast<std::size_t>(k);
        latestKeyMs = std::max(latestKeyMs, std::chrono::duration<double, std::milli>(taken[i] - posted[i]).count());
    }
    std::printf("16 MiB, typing 20 keys 10 a second: the latest key in the box %.0f ms after it was typed; the longest the "
                "window did not answer: %.0f ms; the last text's report %.0f ms after the last key; %d reports shown\n",
                latestKeyMs, longestMs, lastReportMs, reportsShown);
    box->removeEventFilter(&keyClock);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const bool peopleOnly = argc > 1 && QByteArray(argv[1]) == "--undo-and-typing";
    if (!peopleOnly) {
        Measure(1, dir.path());
        Measure(16, dir.path());
    }
    const std::string script = quillon::bench::ScriptMix(16 * 1024 * 1024 - 64);
    const QString path = dir.path() + QStringLiteral("/people16.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(script.data(), static_cast<qint64>(script.size()));
    file.close();
    MeasureUndo(path);
    MeasureTyping(path);
    return 0;
}
