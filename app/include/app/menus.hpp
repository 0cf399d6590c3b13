// The main window's menu bar, one table both desktop windows build their menus from: titles and
// entries with their access keys ("&" before the letter), Ctrl shortcuts, and "..." on every
// entry that opens a dialog. Also the script open dialog's filters.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::app {

struct MenuEntry {
    int command = 0;
    std::string text;  // with its access key: 读入脚本(&O)...
    char ctrlKey = 0;  // the entry's shortcut is Ctrl and this capital letter; 0: none
};

struct Menu {
    std::string title;  // 文件(&F)
    std::vector<MenuEntry> entries;
};

// In menu-bar order. A window whose system menu the desktop keeps for itself (Alt+Space) also
// gets the about entry, in a 关于 menu at the end.
std::vector<Menu> MainMenus(bool aboutInMenuBar);
// "Ctrl+O", as a menu shows it beside the entry and as Qt reads a key sequence.
std::string ShortcutText(char ctrlKey);
// The letter after the "&" of a menu text, as a capital; 0 when it has none.
char AccessKey(std::string_view text);

// The open dialog's filters for scripts, in order; no patterns means every file.
struct OpenFilter {
    std::string_view words;
    std::vector<std::string_view> patterns;
};
std::span<const OpenFilter> ScriptOpenFilters();
// A filter as a dialog lists it, its patterns joined by `separator` and `all` for every file:
// 脚本文件 (*.txt;*.qs).
std::string OpenFilterText(const OpenFilter& filter, std::string_view separator, std::string_view all);
std::string OpenFilterPatterns(const OpenFilter& filter, std::string_view separator, std::string_view all);

}  // namespace quillon::app
