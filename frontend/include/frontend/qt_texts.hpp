// Qt's own texts (file dialogs, message box buttons, the edit boxes' context menu) in Chinese,
// like the window's.
#pragma once

namespace quillon::frontend {

// Installs Qt's Chinese translation into the running application; false when it is not installed.
bool InstallChineseQtTexts();

}  // namespace quillon::frontend
