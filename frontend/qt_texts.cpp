#include "frontend/qt_texts.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quillon::frontend {

bool InstallChineseQtTexts() {
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (!texts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return false;
    }
    return QCoreApplication::installTranslator(texts);
}

}  // namespace quillon::frontend
