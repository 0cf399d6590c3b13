// quillon: the desktop window. The application lives as long as the main window's modal run.
// A file named on the command line (the desktop's "open with") is loaded once the window is up.
#include <QApplication>
#include <QTimer>

#include "frontend/main_window.hpp"
#include "frontend/qt_texts.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    quillon::frontend::InstallChineseQtTexts();
    quillon::frontend::MainWindow window;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        QTimer::singleShot(0, &window, [&window, path = arguments[1]] { window.LoadScriptFile(path); });
    }
    window.exec();
    return 0;
}
