// quillon.exe: the assessor's window on Windows. A file named on the command line (Explorer's
// "open with") is loaded once the window is up.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "codec/wide_text.hpp"
#include "win32/main_window.hpp"

namespace {

std::string FileToOpen() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return {};
    std::string path = count > 1 ? quillon::codec::Utf8(arguments[1]) : std::string();
    LocalFree(arguments);
    return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    quillon::win32::MainWindow window(instance);
    return window.run(FileToOpen());
}
