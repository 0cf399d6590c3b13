// The report box: each report replaces only the part that differs from the one shown, since
// the edit control takes about a second for each MiB of text it is given.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quillon::win32 {

class ReportBox {
public:
    explicit ReportBox(HWND box) : box_(box) {}
    void show(std::string text);  // LF line ends

private:
    HWND box_;
    std::optional<std::string> shown_;
};

}  // namespace quillon::win32
