// The window's cost per keystroke and per load: from one typed character to the updated report
// box, and from a file to its report shown, against the library's run alone on the same text
// (with the account, as the window runs it). Run off screen, at 1 MiB and at 16 MiB.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>
#include <cstdio>

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
    QElapsedTimer timer;
    timer.start();
    window.LoadScriptFile(path);
    QApplication::processEvents();
    const double loadMs = Milliseconds(timer);
    QPlainTextEdit* box = window.controls().scriptBox;
    // A long text goes in a piece at a time while the window answers; then it can be edited.
    while (box->isReadOnly()) QApplication::processEvents();
    const double filledMs = Milliseconds(timer);
    box->moveCursor(QTextCursor::End);

    const int keystrokes = mib > 1 ? 5 : 20;
    // Each measured keystroke is followed by the event processing that repaints the boxes.
    const auto type = [&](Qt::Key key) {
        timer.restart();
        for (int i = 0; i < keystrokes; ++i) {
            QTest::keyClick(box, key);
            QApplication::processEvents();
        }
        return Milliseconds(timer) / keystrokes;
    };
    // In a comment at the end the report stays as it was; in a count-form line every digit
    // changes it.
    const double commentMs = type(Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "$$ ");
    const double countFormMs = type(Qt::Key_1);

    const std::string typed = quillon::frontend::ScriptMirror::DocumentText(*box->document()).toStdString();
    timer.restart();
    for (int i = 0; i < keystrokes; ++i) quillon::InterpretScript(typed, {}, true);
    const double libraryMs = Milliseconds(timer) / keystrokes;

    std::printf("%zu MiB script, library alone: %.2f ms per run\n", mib, libraryMs);
    std::printf("  load to shown report: %.1f ms, ratio %.2f; the whole text in the box: %.1f ms\n", loadMs, loadMs / libraryMs,
                filledMs);
    std::printf("  keystroke to repainted report, report unchanged: %.2f ms, ratio %.2f\n", commentMs, commentMs / libraryMs);
    std::printf("  keystroke to repainted report, report changed:   %.2f ms, ratio %.2f\n", countFormMs,
                countFormMs / libraryMs);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Measure(1, dir.path());
    Measure(16, dir.path());
    return 0;
}
