#include "frontend/window_icon.hpp"

namespace quillon::frontend {

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/quillon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace quillon::frontend
