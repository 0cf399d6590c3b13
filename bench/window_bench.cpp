// The window's cost per keystroke and per load: from one typed character to the updated report
// box, and from a file to its report shown, against the library's run alone on the same text
// (with the account, as the window runs it). Run off screen, at 1 MiB and at 16 MiB.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>
#include <algorithm>
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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Measure(1, dir.path());
    Measure(16, dir.path());
    return 0;
}
