// Text in and out of the window's edit boxes: they hold UTF-16 with CR LF line ends, the
// model works in UTF-8 with LF line ends.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quillon::win32 {

// The box's whole text, for the model.
std::string BoxText(HWND box);
// Sets the report box's text.
void SetBoxText(HWND box, std::string_view utf8);
// Replaces the script box's text as one step that Ctrl+Z takes back, caret at the start.
void ReplaceBoxText(HWND box, std::string_view utf8);

std::wstring ForEditBox(std::string_view utf8);  // LF becomes CR LF
std::string FromEditBox(std::wstring_view text);  // CR LF becomes LF

}  // namespace quillon::win32
