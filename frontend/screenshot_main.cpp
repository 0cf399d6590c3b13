// quillon-screenshot PATH: the window with the level-4 sample and its report, as a PNG.
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "frontend/main_window.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-screenshot PATH.png\n");
        return 2;
    }
    quillon::frontend::MainWindow window;
    window.ChooseSample(3);
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "quillon-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
