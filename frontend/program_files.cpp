#include "frontend/program_files.hpp"

#include <QDir>
#include <QFileInfo>

namespace quillon::frontend {

QString FindProgramFile(const QString& name, const QString& workingFolder, const QString& programFolder) {
    const QDir program(programFolder);
    for (const QString& path : {QDir(workingFolder).absoluteFilePath(name), program.absoluteFilePath(name),
                                QDir(program.absoluteFilePath(QStringLiteral(QUILLON_DATA_FROM_PROGRAM))).absoluteFilePath(name)}) {
        if (QFileInfo::exists(path)) return QDir::cleanPath(path);
    }
    return {};
}

}  // namespace quillon::frontend
