// The window's ways to the file system and the shell: the open and save dialogs, a file
// written whole or not at all, reading a script, and targets opened with their handlers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/front_end.hpp"

namespace quillon::win32 {

// The path the user chose (UTF-8), or nothing when the dialog was cancelled.
std::optional<std::string> AskFileToOpen(HWND owner);
std::optional<app::SaveTarget> AskSaveTarget(HWND owner, const std::string& proposedPath, bool gbk);

// Where to export the report's tables, the model's proposed name first.
std::optional<std::string> AskExportPath(HWND owner, const app::ExportFormat& format, const std::string& proposedName);

// The old file stays whole until the new one is written; the error's words when it fails.
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

// Web targets go to the browser; a relative name (the help page) is looked up in the working
// folder first, then beside the program. False when the shell could not open it.
bool OpenTarget(const std::string& target);

}  // namespace quillon::win32
