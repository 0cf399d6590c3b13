#include "app/menus.hpp"

#include "app/builtin_texts.hpp"
#include "app/command_ids.h"
#include "app/export_formats.hpp"

namespace quillon::app {
namespace {

constexpr std::string_view kOpensDialog = "...";

char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

MenuEntry Entry(int command, std::string_view words, char key, bool opensDialog = false, char ctrlKey = 0) {
    std::string text(words);
    text += "(&";
    text += key;
    text += ')';
    if (opensDialog) text += kOpensDialog;
    return {command, std::move(text), ctrlKey};
}

// An export's access key is the first letter of its format's name that no entry of the menu
// has taken yet, marked where it stands in the text: 导出表格(&CSV)...
MenuEntry ExportEntry(const ExportFormat& format, const std::vector<MenuEntry>& taken) {
    std::string text = ExportMenuText(format);
    const std::size_t name = text.rfind('(') + 1;
    for (std::size_t at = name; at < text.size() && text[at] != ')'; ++at) {
        bool free = true;
        for (const MenuEntry& entry : taken) free = free && AccessKey(entry.text) != Capital(text[at]);
        if (free) {
            text.insert(at, 1, '&');
            break;
        }
    }
    return {format.command, text + std::string(kOpensDialog), 0};
}

}  // namespace

std::vector<Menu> MainMenus(bool aboutInMenuBar) {
    Menu file{"文件(&F)", {Entry(ID_LOAD_SCRIPT, "读入脚本", 'O', true, 'O'), Entry(ID_SAVE, "保存脚本", 'S', false, 'S'),
                           Entry(ID_SAVE_AS, "脚本另存为", 'A', true)}};
    const std::vector<MenuEntry> after = {Entry(ID_HOME_PAGE, "链接官网", 'W'), Entry(ID_HELP_PAGE, "打开帮助", 'H'),
                                          Entry(ID_DONATION, "用好,给咖啡赞助", 'Z'), Entry(ID_EXIT, "退出", 'X')};
    std::vector<MenuEntry> taken = file.entries;
    taken.insert(taken.end(), after.begin(), after.end());
    for (const ExportFormat& format : ExportFormats()) {
        file.entries.push_back(ExportEntry(format, taken));
        taken.push_back(file.entries.back());
    }
    file.entries.insert(file.entries.end(), after.begin(), after.end());

    Menu samples{"测试向量(&T)", {}};
    for (int k = 0; k < kBuiltInSampleCount; ++k) {
        samples.entries.push_back(Entry(ID_FIRST_SAMPLE + k, BuiltInSamples[static_cast<unsigned>(k)].menuCaption,
                                        static_cast<char>('1' + k)));
    }
    std::vector<Menu> menus{std::move(file), std::move(samples),
                            Menu{"分析(&A)", {Entry(ID_ANALYSIS, "各单元增分", 'U', true),
                                              Entry(ID_COMPARE, "与脚本文件比较", 'C', true)}}};
    // The system menu's words for it, which carry their access key already.
    if (aboutInMenuBar) menus.push_back(Menu{"关于(&H)", {{IDM_ABOUTBOX, "关于 Quillon0701(&A)...", 0}}});
    return menus;
}

std::string ShortcutText(char ctrlKey) { return ctrlKey == 0 ? std::string() : std::string("Ctrl+") + ctrlKey; }

char AccessKey(std::string_view text) {
    const std::size_t amp = text.find('&');
    return amp == std::string_view::npos || amp + 1 >= text.size() ? 0 : Capital(text[amp + 1]);
}

std::span<const OpenFilter> ScriptOpenFilters() {
    static const OpenFilter filters[] = {{"脚本文件", {"*.txt", "*.qs"}}, {"所有文件", {}}};
    return filters;
}

std::string OpenFilterPatterns(const OpenFilter& filter, std::string_view separator, std::string_view all) {
    if (filter.patterns.empty()) return std::string(all);
    std::string joined;
    for (const std::string_view pattern : filter.patterns) {
        if (!joined.empty()) joined += separator;
        joined += pattern;
    }
    return joined;
}

std::string OpenFilterText(const OpenFilter& filter, std::string_view separator, std::string_view all) {
    return std::string(filter.words) + " (" + OpenFilterPatterns(filter, separator, all) + ")";
}

}  // namespace quillon::app
