// quillon: the desktop window. The application lives as long as the main window's modal run.
#include <QApplication>

#include "frontend/main_window.hpp"
#include "frontend/qt_texts.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    quillon::frontend::InstallChineseQtTexts();
    quillon::frontend::MainWindow window;
    window.exec();
    return 0;
}
