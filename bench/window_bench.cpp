// The window's cost per keystroke on a 1 MiB script: from one typed character to the updated
// report box, against the library run alone on the same text. Run off screen.
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string script = quillon::bench::ScriptMix(1024 * 1024);
    QTemporaryDir dir;
    QFile file(dir.filePath("mix.txt"));
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(script.data(), static_cast<qint64>(script.size()));
    file.close();

    quillon::frontend::MainWindow window;
    window.show();
    window.LoadScriptFile(file.fileName());
    QPlainTextEdit* box = window.controls().scriptBox;
    box->moveCursor(QTextCursor::End);

    constexpr int kKeystrokes = 20;
    QElapsedTimer timer;
    // Each measured keystroke is followed by the event processing that repaints the boxes.
    const auto type = [&](Qt::Key key) {
        timer.restart();
        for (int i = 0; i < kKeystrokes; ++i) {
            QTest::keyClick(box, key);
            QApplication::processEvents();
        }
        return static_cast<double>(timer.nsecsElapsed()) / 1e6 / kKeystrokes;
    };
    // In a comment at the end the report stays as it was; in a count-form line every digit
    // changes it.
    const double commentMs = type(Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "$$ ");
    const double countFormMs = type(Qt::Key_1);
    // What the marks on problem lines cost: keystrokes with and without them, taking turns.
    double markedMs = 0;
    double unmarkedMs = 0;
    for (int i = 0; i < kKeystrokes; ++i) {
        for (const bool marks : {true, false}) {
            window.setMarksShown(marks);
            timer.restart();
            QTest::keyClick(box, Qt::Key_1);
            QApplication::processEvents();
            (marks ? markedMs : unmarkedMs) += static_cast<double>(timer.nsecsElapsed()) / 1e6 / kKeystrokes;
        }
    }
    window.setMarksShown(true);

    const std::string typed = quillon::frontend::ScriptMirror::DocumentText(*box->document()).toStdString();
    timer.restart();
    for (int i = 0; i < kKeystrokes; ++i) quillon::ScoreScript(typed);
    const double libraryMs = static_cast<double>(timer.nsecsElapsed()) / 1e6 / kKeystrokes;

    std::printf("1 MiB script, library alone: %.2f ms per run\n", libraryMs);
    std::printf("keystroke to repainted report, report unchanged: %.2f ms, ratio %.2f\n", commentMs,
                commentMs / libraryMs);
    std::printf("keystroke to repainted report, report changed:   %.2f ms, ratio %.2f\n", countFormMs,
                countFormMs / libraryMs);
    std::printf("marks on problem lines: %.2f ms with, %.2f ms without, %+.0f %%\n", markedMs, unmarkedMs,
                100.0 * (markedMs / unmarkedMs - 1.0));
    return 0;
}
