// Where a file that comes with the program (the help page) is found when it is opened by its
// relative name.
#pragma once

#include <QString>

namespace quillon::frontend {

// The working folder first, as the relative name says; then beside the program (the build
// folder), then the program's installed data folder (/usr/share/quillon beside /usr/bin).
// Empty when none has it.
QString FindProgramFile(const QString& name, const QString& workingFolder, const QString& programFolder);

}  // namespace quillon::frontend
