// The main window's font and size: the windows' dialog font, measured here as the Linux window
// measures it, at the screen's scale, shrunk until the window fits the work area; every control
// placed from its dialog units in that font.
#pragma once

#include <windows.h>

namespace quillon::win32 {

// Lays the dialog out (its menu already set) and puts it whole in the work area of its screen.
// The font returned is the controls'; the caller deletes it after the window.
HFONT FitToWorkArea(HWND dialog);

}  // namespace quillon::win32
