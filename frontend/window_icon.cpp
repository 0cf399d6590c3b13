#include "frontend/window_icon.hpp"

// The icons are compiled into the frontend library; a static library's resources must be
// registered by hand, outside any namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(quillon); }

namespace quillon::frontend {

QIcon WindowIcon() {
    RegisterIconResources();  // registering again is harmless
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/quillon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace quillon::frontend
