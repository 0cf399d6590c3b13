// What the desktop views (Qt, Win32) read and write: a script file as the model takes it, what
// Save writes in the encoding the user chose, and what a view says when it cannot. The page
// reads through the browser and saves UTF-8 downloads only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/front_end.hpp"

namespace quillon::app {

// The file at `path` (UTF-8), read whole up to the script limit.
FileRead ReadScriptFile(const std::string& path);

struct SaveBytes {
    std::optional<std::string> bytes;  // the file's content, or nothing to write
    std::string refusal;               // why not, for a message box
};

// The script with CR LF line ends, in UTF-8 or GBK; a script GBK cannot hold whole is refused
// rather than written with "?" in place of its characters.
SaveBytes BytesToSave(std::string_view script, bool gbk, std::string_view path);

std::string SaveFailedMessage(std::string_view path, std::string_view reason);

}  // namespace quillon::app
