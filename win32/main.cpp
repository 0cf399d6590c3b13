// quillon.exe: the assessor's window on Windows.
#include <windows.h>
#include <commctrl.h>

#include "win32/main_window.hpp"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    quillon::win32::MainWindow window(instance);
    return window.run();
}
