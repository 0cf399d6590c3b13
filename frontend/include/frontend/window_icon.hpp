// The program's icon (a 16 and a 32 pixel image, and larger ones for the desktop).
#pragma once

#include <QIcon>

namespace quillon::frontend {

QIcon WindowIcon();

}  // namespace quillon::frontend
