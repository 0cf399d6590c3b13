// The front ends' model without any window: when a script is scored, what the boxes show,
// what a load accepts, which words are marked and where Save writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/explain_text.hpp"
#include "app/front_end.hpp"
#include "app/marks.hpp"
#include "app/menus.hpp"
#include "app/dialog_font.hpp"
#include "app/command_ids.h"
#include "app/desktop_files.hpp"
#include "app/text_change.hpp"
#include "app/word_tips.hpp"
#include "app/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace quillon::app {
namespace {

std::string Shown(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReportOf(std::string_view script) { return Shown(ScoreScript(script)); }

TEST(FrontEnd, StartsWithTheNoticeAndNullUnscored) {
    FrontEnd model;
    const Update start = model.start();
    EXPECT_EQ(start.script, Shown(NoticeText));
    EXPECT_EQ(start.report, "NULL");
    ASSERT_TRUE(start.marks);
    EXPECT_TRUE(start.marks->empty());
    EXPECT_TRUE(model.realTime());
    EXPECT_FALSE(model.computeEnabled());
    EXPECT_EQ(model.sampleIndex(), 0);
    EXPECT_FALSE(model.modified());
}

TEST(FrontEnd, ScoresEditsOnlyInRealTimeModeAndOnCompute) {
    FrontEnd model;
    model.start();
    EXPECT_EQ(model.edited("mpout").report, ReportOf("mpout"));
    EXPECT_TRUE(model.modified());
    EXPECT_FALSE(model.realTimeClicked(false, "mpout").report);  // off: nothing computed
    EXPECT_TRUE(model.computeEnabled());
    EXPECT_FALSE(model.edited("mpinit=2\nmpout").report);
    EXPECT_EQ(model.computeClicked("mpinit=2\nmpout").report, ReportOf("mpinit=2\nmpout"));
    EXPECT_EQ(model.realTimeClicked(true, "mpinit=4").report, ReportOf("mpinit=4"));  // on: rescored at once
    EXPECT_FALSE(model.computeEnabled());
    EXPECT_FALSE(model.computeClicked("mpinit=4").report);  // the button is disabled then
}

// A run made away from the view is shown only while its text is the script's: an edit (also
// one with real-time mode off) or a replacement since makes it stale.
TEST(FrontEnd, RunsMadeElsewhereShowOnlyTheNewestText) {
    FrontEnd model;
    model.start();
    const auto order = [&](std::string text) {
        EXPECT_TRUE(model.editedLater());
        return model.runOrder(std::move(text));
    };
    const RunOrder first = order("mpinit=2\nmpout");
    const RunOrder second = order("mpinit=4\nmpout");
    EXPECT_FALSE(model.ran(first, RunOf(first)).report);
    EXPECT_TRUE(model.modified());
    EXPECT_EQ(model.ran(second, RunOf(second)).report, ReportOf("mpinit=4\nmpout"));
    EXPECT_EQ(model.lineRecord("mpout", 1).kind, LineKind::Report);
    const RunOrder third = order("mpinit=3\nmpout");
    model.realTimeClicked(false, "mpinit=3\nmpout");
    EXPECT_FALSE(model.editedLater());  // off: nothing to run
    EXPECT_FALSE(model.ran(third, RunOf(third)).report);
    model.realTimeClicked(true, "mpout");
    const RunOrder fourth = order("mpout");
    model.sampleChosen(3);
    EXPECT_FALSE(model.ran(fourth, RunOf(fourth)).report);
}

// The notice shows NULL every time, also after a run that left marks, and also in real-time
// mode; samples 2 to 5 are scored whatever the mode.
TEST(FrontEnd, SamplesReplaceTheScriptAndTheNoticeShowsNull) {
    FrontEnd model;
    model.start();
    ASSERT_FALSE(model.edited("@@9\nmpout").marks->empty());
    const Update notice = model.sampleChosen(0);
    EXPECT_EQ(notice.script, Shown(NoticeText));
    EXPECT_EQ(notice.report, "NULL");
    EXPECT_TRUE(notice.marks->empty());
    model.realTimeClicked(false, *notice.script);
    for (int k = 1; k < kBuiltInSampleCount; ++k) {
        const Update sample = model.sampleChosen(k);
        EXPECT_EQ(model.sampleIndex(), k);
        EXPECT_EQ(sample.script, Shown(BuiltInSamples[static_cast<unsigned>(k)].text));
        EXPECT_EQ(sample.report, ReportOf(BuiltInSamples[static_cast<unsigned>(k)].text));
    }
    EXPECT_FALSE(model.sampleChosen(-1).script);
    EXPECT_FALSE(model.sampleChosen(5).script);
    EXPECT_EQ(model.sampleIndex(), 4);
}

TEST(FrontEnd, LoadsTextFilesAndRefusesWhatIsNone) {
    FrontEnd model;
    model.start();
    model.realTimeClicked(false, "");
    const Update gbk = model.fileRead("a.txt", {FileRead::Status::Read, "mpinit=4\r\nmpecho \xD6\xD0\r\n"});
    EXPECT_EQ(gbk.script, "mpinit=4\nmpecho 中\n");
    EXPECT_EQ(gbk.report, ReportOf("mpinit=4\nmpecho 中\n"));  // scored with real-time off too
    EXPECT_FALSE(model.modified());
    EXPECT_EQ(model.fileRead("cr.txt", {FileRead::Status::Read, "\rmpout\r\r\nmpout\r"}).script, "\nmpout\n\nmpout\n");
    EXPECT_EQ(model.fileRead("nul.txt", {FileRead::Status::Read, std::string(9000, ' ') + '\0' + "mpout"}).script,
              std::string(9000, ' '));
    // UTF-8 but for a bad byte: read as UTF-8, the lost byte marked where it stood.
    const Update lost = model.fileRead("lost.txt", {FileRead::Status::Read, "mpecho 测试\r\n# \xED\r\nmpout"});
    EXPECT_EQ(lost.script, "mpecho 测试\n# \uFFFD\nmpout");
    ASSERT_TRUE(lost.marks);
    ASSERT_EQ(lost.marks->size(), 1u);
    EXPECT_EQ((*lost.marks)[0].row, 1u);
    EXPECT_EQ((*lost.marks)[0].begin, 2u);
    EXPECT_EQ((*lost.marks)[0].end, 3u);
    EXPECT_EQ((*lost.marks)[0].message.rfind("警告[Q513]: ", 0), 0u);

    const Update unreadable = model.fileRead("folder", {FileRead::Status::Unreadable, ""});
    EXPECT_FALSE(unreadable.script || unreadable.report || unreadable.message);
    const Update large = model.fileRead("big.txt", {FileRead::Status::TooLarge, ""});
    EXPECT_FALSE(large.script);
    EXPECT_NE(large.message->find("16,777,215"), std::string::npos);
    EXPECT_NE(large.message->find("big.txt"), std::string::npos);
    const Update binary = model.fileRead("ls", {FileRead::Status::Read, std::string("\x7F" "ELF\2\1\1\0\0\0", 10)});
    EXPECT_FALSE(binary.script);
    EXPECT_NE(binary.message->find("不是文本文件"), std::string::npos);
}

// Each link opens its target when the build has it; an address not configured is no target
// (the views disable its entry), and a target the system cannot open is told by name.
TEST(FrontEnd, LinksAndF2) {
    const FrontEnd configured(Links{"https://home.invalid/", "https://home.invalid/wxm-skm.jpg"});
    const FrontEnd bare(Links{});
    const struct {
        LinkCommand command;
        const char* target;
        const char* name;
        bool inBareBuild;
    } cases[] = {
        {LinkCommand::HomePage, "https://home.invalid/", "官网", false},
        {LinkCommand::DonationPicture, "https://home.invalid/wxm-skm.jpg", "赞助图片", false},
        {LinkCommand::Help, "help2.htm", "帮助页", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(configured.linkAvailable(c.command));
        EXPECT_EQ(configured.link(c.command).link, c.target);
        EXPECT_FALSE(configured.link(c.command).message);
        const std::string failed = configured.linkNotOpened(c.target).message.value_or("");
        EXPECT_NE(failed.find(std::string("打不开") + c.name), std::string::npos) << failed;
        EXPECT_NE(failed.find(c.target), std::string::npos) << failed;

        EXPECT_EQ(bare.linkAvailable(c.command), c.inBareBuild);
        const Update bareLink = bare.link(c.command);
        EXPECT_EQ(bareLink.link.has_value(), c.inBareBuild);
        EXPECT_EQ(bareLink.message.has_value(), !c.inBareBuild);  // the page has no disabled entry
    }
    // This build: an address is https or not configured, never a placeholder.
    for (const std::string& address : {ConfiguredLinks().homePage, ConfiguredLinks().donationPicture}) {
        EXPECT_TRUE(address.empty() || address.starts_with("https://")) << address;
        EXPECT_EQ(address.find(".invalid"), std::string::npos) << address;
    }
    EXPECT_EQ(configured.f2Pressed(false).message, "VK_F2");
    EXPECT_FALSE(configured.f2Pressed(true).message);
}

// Exit asks only while the script holds edits that no file holds: not for the notice, a
// sample or a loaded file as they came, nor right after a save; again after the next edit.
TEST(FrontEnd, ExitAsksBeforeEditsAreLost) {
    FrontEnd model;
    model.start();
    const struct {
        const char* what;
        std::function<void(FrontEnd&)> step;
        ExitStep exit;
    } steps[] = {
        {"the notice as it opens", [](FrontEnd&) {}, ExitStep::End},
        {"a typed character", [](FrontEnd& m) { m.edited("m"); }, ExitStep::Ask},
        {"real-time mode off", [](FrontEnd& m) { m.realTimeClicked(false, "m"); }, ExitStep::Ask},
        {"a sample replaces the edits", [](FrontEnd& m) { m.sampleChosen(2); }, ExitStep::End},
        {"the sample edited", [](FrontEnd& m) { m.edited("mpout"); }, ExitStep::Ask},
        {"saved", [](FrontEnd& m) { m.saved({"a.txt", false}); }, ExitStep::End},
        {"edited after the save", [](FrontEnd& m) { m.edited("mpout2"); }, ExitStep::Ask},
        {"undone back to the saved text", [](FrontEnd& m) { m.edited("mpout"); }, ExitStep::Ask},
        {"a file loaded", [](FrontEnd& m) { m.fileRead("b.txt", {FileRead::Status::Read, "mpout"}); }, ExitStep::End},
        {"a refused file", [](FrontEnd& m) { m.fileRead("c.txt", {FileRead::Status::TooLarge, ""}); }, ExitStep::End},
        {"the file edited", [](FrontEnd& m) { m.edited("mpout\n"); }, ExitStep::Ask},
        {"an unreadable file keeps the edits", [](FrontEnd& m) { m.fileRead("d", {FileRead::Status::Unreadable, ""}); },
         ExitStep::Ask},
    };
    for (const auto& s : steps) {
        s.step(model);
        EXPECT_EQ(model.exitRequested(), s.exit) << s.what;
    }

    const Question& question = FrontEnd::ExitQuestion();
    EXPECT_NE(question.text.find("脚本有未保存的修改"), std::string::npos);  // as the page's warning
    ASSERT_EQ(question.buttons, (std::vector<std::string>{"保存", "不保存", "取消"}));
    EXPECT_EQ(FrontEnd::ExitAnswered(0), ExitStep::SaveThenEnd);
    EXPECT_EQ(FrontEnd::ExitAnswered(1), ExitStep::End);
    EXPECT_EQ(FrontEnd::ExitAnswered(2), ExitStep::Stay);
    EXPECT_EQ(FrontEnd::ExitAnswered(static_cast<std::size_t>(-1)), ExitStep::Stay);  // the box closed
}

// Save writes without asking only to the file of the last Save As; a loaded script proposes
// its own file but is asked for, and a sample replacing the script forgets both.
TEST(FrontEnd, WhereSaveWrites) {
    FrontEnd model;
    model.start();
    EXPECT_FALSE(model.saveTarget());
    EXPECT_EQ(model.proposedSavePath(), "脚本.txt");
    model.fileRead("/tmp/x/a.txt", {FileRead::Status::Read, "mpout"});
    EXPECT_FALSE(model.saveTarget());
    EXPECT_EQ(model.proposedSavePath(), "/tmp/x/a.txt");
    model.edited("mpout\n");
    EXPECT_TRUE(model.modified());
    model.saved({"/tmp/x/b.txt", true});
    EXPECT_FALSE(model.modified());
    ASSERT_TRUE(model.saveTarget());
    EXPECT_EQ(model.saveTarget()->path, "/tmp/x/b.txt");
    EXPECT_TRUE(model.saveTarget()->gbk);
    model.sampleChosen(3);
    EXPECT_FALSE(model.saveTarget());
    EXPECT_EQ(model.proposedSavePath(), "脚本.txt");
    EXPECT_EQ(FrontEnd::ForSaving("mpout\n@@1 1\n\n"), "mpout\r\n@@1 1\r\n\r\n");

    // What the desktop views write: CR LF lines, GBK only when GBK holds every character.
    EXPECT_EQ(BytesToSave("层面\n", false, "a.txt").bytes, "层面\r\n");
    EXPECT_EQ(BytesToSave("层面\n", true, "a.txt").bytes, "\xb2\xe3\xc3\xe6\r\n");
    const SaveBytes refused = BytesToSave("表情 😀\n", true, "a.txt");
    EXPECT_FALSE(refused.bytes);
    EXPECT_NE(refused.refusal.find("a.txt"), std::string::npos);
}

// The part a report view replaces: never half a character, nothing when nothing changed.
TEST(FrontEnd, ChangedPartOfAReport) {
    struct Case { const char* old; const char* now; std::size_t begin, oldEnd, newEnd; };
    for (const Case& c : {Case{"abc", "abc", 3, 3, 3}, Case{"", "ab", 0, 0, 2}, Case{"a1c", "a2c", 1, 2, 2},
                          Case{"总分=1", "总分=12", 8, 8, 9}, Case{"aaa", "aa", 2, 3, 2},
                          // 层 (E5 B1 82) and 屋 (E5 B1 8B) share two bytes: the whole character changes
                          Case{"x层y", "x屋y", 1, 4, 4}}) {
        const TextChange change = ChangedPart(c.old, c.now);
        EXPECT_EQ(change.begin, c.begin) << c.old << " -> " << c.now;
        EXPECT_EQ(change.oldEnd, c.oldEnd) << c.old << " -> " << c.now;
        EXPECT_EQ(change.newEnd, c.newEnd) << c.old << " -> " << c.now;
    }
}

struct MarkCase {
    const char* name;
    const char* script;
    std::size_t row, begin, end;  // of the first mark
    std::size_t beginCell, endCell;
};

class Marks : public ::testing::TestWithParam<MarkCase> {};

// Columns count UTF-16 code units, as every edit box does: a Chinese character is one, a
// character beyond the BMP two.
TEST_P(Marks, PlaceTheWordInTheRow) {
    const auto& c = GetParam();
    const ScriptRun run = InterpretScript(c.script, {}, true);
    const std::vector<Mark> marks = MarksOf(run.account, c.script);
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks[0].row, c.row);
    EXPECT_EQ(marks[0].begin, c.begin);
    EXPECT_EQ(marks[0].end, c.end);
    EXPECT_EQ(marks[0].beginCell, c.beginCell);
    EXPECT_EQ(marks[0].endCell, c.endCell);
    EXPECT_EQ(marks[0].message.rfind("警告[Q", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    FrontEnd, Marks,
    ::testing::Values(MarkCase{"ascii_word", "mpout\n@@1 1 abc", 1, 6, 9, 6, 9},
                      MarkCase{"after_chinese", "@@1 1 中文abc", 0, 6, 11, 6, 13},
                      MarkCase{"after_an_astral_character", "$$4.2 😀 VVV", 0, 6, 8, 6, 7},
                      MarkCase{"whole_line", "@@1 1 1 1 1", 0, 0, 0, 0, 0},
                      MarkCase{"after_crlf", "mpout\r\n\r\n$$4.2 VVX /", 2, 10, 11, 10, 11}),
    [](const auto& info) { return std::string(info.param.name); });

const ExportFormat& Format(std::string_view name) {
    const ExportFormat* format = FindExportFormat(name);
    if (format == nullptr) throw std::invalid_argument("no export format " + std::string(name));
    return *format;
}

// What the menus, dialogs and downloads showed when each view wrote them out itself.
TEST(ExportFormats, EveryViewsWordsForEachFormat) {
    struct Case {
        const char* name;
        const char* fileName;
        const char* title;
        const char* menu;
        const char* filter;
        const char* mime;
        bool binary;
        int command;
    };
    const Case cases[] = {
        {"csv", "密评得分.csv", "导出表格", "导出表格(CSV)", "CSV 表格 (*.csv)", "text/csv;charset=utf-8", false, 32783},
        {"html", "密评得分.html", "导出网页", "导出网页(HTML)", "网页 (*.html *.htm)", "text/html;charset=utf-8", false, 32784},
        {"xlsx", "密评得分.xlsx", "导出工作簿", "导出工作簿(XLSX)", "Excel 工作簿 (*.xlsx)",
         "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", true, 32786},
        {"docx", "密评得分.docx", "导出 Word 表格", "导出 Word 表格(DOCX)", "Word 文档 (*.docx)",
         "application/vnd.openxmlformats-officedocument.wordprocessingml.document", true, 32788},
    };
    ASSERT_EQ(ExportFormats().size(), std::size(cases));
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        const ExportFormat& format = ExportFormats()[k];  // in menu order
        EXPECT_EQ(format.name, c.name);
        EXPECT_EQ(&Format(c.name), &format);
        EXPECT_EQ(ExportFormatOfCommand(c.command), &format);
        EXPECT_EQ(FrontEnd::ExportName(format), c.fileName);
        EXPECT_EQ(ExportMenuText(format), c.menu);
        EXPECT_EQ(ExportTitle(format), c.title);
        EXPECT_EQ(ExportFilter(format), c.filter);
        EXPECT_EQ(format.mime, c.mime);
        EXPECT_EQ(format.binary, c.binary);
    }
    EXPECT_EQ(ExportFailure(Format("xlsx"), "disk full"), "工作簿没有写成：disk full");
    // Names are matched as the tool lowers them; no other name and no other command is a format.
    for (const char* other : {"CSV", "pdf", "", "text", "json"}) EXPECT_EQ(FindExportFormat(other), nullptr) << other;
    for (const int other : {0, 16, 32782, 32785, 32787}) EXPECT_EQ(ExportFormatOfCommand(other), nullptr) << other;
}

// Both windows' menu bars: every command once, keyboard-reachable by letters unique within their
// menu, Ctrl+O and Ctrl+S, "..." exactly on the entries that open a dialog.
TEST(Menus, EveryEntryReachableByKeyboard) {
    for (const bool aboutInMenuBar : {false, true}) {
        const std::vector<Menu> menus = MainMenus(aboutInMenuBar);
        ASSERT_EQ(menus.size(), aboutInMenuBar ? 4u : 3u);
        std::vector<std::string> titles;
        std::vector<char> barKeys;
        std::vector<int> commands;
        std::vector<char> shortcuts;
        for (const Menu& menu : menus) {
            titles.push_back(menu.title);
            barKeys.push_back(AccessKey(menu.title));
            std::vector<char> keys;
            for (const MenuEntry& entry : menu.entries) {
                keys.push_back(AccessKey(entry.text));
                EXPECT_NE(keys.back(), 0) << entry.text;
                EXPECT_EQ(std::count(keys.begin(), keys.end(), keys.back()), 1) << entry.text;
                EXPECT_EQ(std::count(commands.begin(), commands.end(), entry.command), 0) << entry.text;
                commands.push_back(entry.command);
                if (entry.ctrlKey != 0) {
                    EXPECT_EQ(std::count(shortcuts.begin(), shortcuts.end(), entry.ctrlKey), 0) << entry.text;
                    shortcuts.push_back(entry.ctrlKey);
                }
            }
        }
        const std::vector<std::string> expected = {"文件(&F)", "测试向量(&T)", "分析(&A)", "关于(&H)"};
        EXPECT_EQ(titles, std::vector<std::string>(expected.begin(), expected.begin() + static_cast<long>(menus.size())));
        for (const char key : barKeys) EXPECT_EQ(std::count(barKeys.begin(), barKeys.end(), key), 1);
        // Every command of the design's menu, the exports' and the samples'.
        EXPECT_EQ(commands.size(), 14 + ExportFormats().size() + (aboutInMenuBar ? 1 : 0));
    }
    std::vector<std::string> file;
    const std::vector<Menu> menus = MainMenus(false);
    for (const MenuEntry& entry : menus[0].entries) file.push_back(entry.text + (entry.ctrlKey ? "\t" + ShortcutText(entry.ctrlKey) : ""));
    EXPECT_EQ(file, (std::vector<std::string>{"读入脚本(&O)...\tCtrl+O", "保存脚本(&S)\tCtrl+S", "脚本另存为(&A)...",
                                              "导出表格(&CSV)...", "导出网页(H&TML)...", "导出工作簿(X&LSX)...",
                                              "导出 Word 表格(&DOCX)...", "链接官网(&W)", "打开帮助(&H)",
                                              "用好,给咖啡赞助(&Z)", "退出(&X)"}));
    EXPECT_EQ(MainMenus(false)[1].entries[2].text, "密评三级(&3)");
    EXPECT_EQ(MainMenus(false)[1].entries[2].command, ID_FIRST_SAMPLE + 2);
    EXPECT_EQ(MainMenus(false)[2].entries[1].text, "与脚本文件比较(&C)...");
    EXPECT_EQ(MainMenus(true)[3].entries[0].command, IDM_ABOUTBOX);
    EXPECT_EQ(AccessKey("a&b"), 'B');
    EXPECT_EQ(AccessKey("ab&"), 0);
}

// Both windows choose their font alike: one that keeps the report's columns, at the largest
// even size that fits, never below the smallest.
TEST(DialogFont, ColumnsKeptAndSizeFitted) {
    EXPECT_TRUE(KeepsColumns(std::vector<int>{6, 6, 12, 12, 60}));
    EXPECT_FALSE(KeepsColumns(std::vector<int>{7, 6, 14, 14, 70}));    // a narrow i: proportional
    EXPECT_FALSE(KeepsColumns(std::vector<int>{6, 6, 12, 13, 65}));    // Chinese a pixel wide
    EXPECT_FALSE(KeepsColumns(std::vector<int>{0, 0, 0, 0, 0}));       // nothing measured
    EXPECT_EQ(FittingFontPixels(18, [](int pixels) { return pixels <= 14; }), 14);
    EXPECT_EQ(FittingFontPixels(15, [](int) { return true; }), 14);  // odd scales round down to even
    EXPECT_EQ(FittingFontPixels(24, [](int) { return false; }), kSmallestDialogFontPixels);
    EXPECT_EQ(DialogFontFamilies().front(), "SimSun");
}

TEST(Menus, ScriptOpenFiltersAsEachDialogWritesThem) {
    std::vector<std::string> windows, qt;
    for (const OpenFilter& filter : ScriptOpenFilters()) {
        windows.push_back(OpenFilterText(filter, ";", "*.*") + "|" + OpenFilterPatterns(filter, ";", "*.*"));
        qt.push_back(OpenFilterText(filter, " ", "*"));
    }
    EXPECT_EQ(windows, (std::vector<std::string>{"脚本文件 (*.txt;*.qs)|*.txt;*.qs", "所有文件 (*.*)|*.*"}));
    EXPECT_EQ(qt, (std::vector<std::string>{"脚本文件 (*.txt *.qs)", "所有文件 (*)"}));
}

// The views export the last scored report's tables and show its gains; nothing before a report.
TEST(FrontEnd, ExportsAndAnalysisOfTheLastScoredReport) {
    FrontEnd model;
    model.start();
    EXPECT_EQ(model.exportTables(Format("csv")).problem, "还没有报告可导出：先算分。");
    EXPECT_TRUE(model.exportTables(Format("xlsx")).bytes.empty());
    EXPECT_NE(model.analysis().head.find("还没有算分"), std::string::npos);
    EXPECT_TRUE(model.analysis().units.empty());
    EXPECT_EQ(model.whatIf({0}), "");
    model.sampleChosen(3);
    const std::string csv = model.exportTables(Format("csv")).bytes;
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(csv.find("4,42.7710,26.9088,69.6798,69.680"), std::string::npos);
    EXPECT_NE(model.exportTables(Format("html")).bytes.find("<svg"), std::string::npos);
    const ExportedFile book = model.exportTables(Format("xlsx"));
    EXPECT_EQ(book.problem, "");
    EXPECT_EQ(book.bytes.rfind("PK\x03\x04", 0), 0u);  // a zip, read back cell by cell by exports_read_back
    const Analysis analysis = model.analysis();
    ASSERT_FALSE(analysis.units.empty());
    EXPECT_EQ(analysis.units[0], "4.4    0.2500   1.0  +3.3570    73.0368  应用与数据安全_4.重要数据传输机密性");
    EXPECT_EQ(analysis.columns, "单元  单元得分  权重  增分      改后总分  单元名称");
    EXPECT_EQ(analysis.head.rfind("4级 密评总分 69.680（69.6798）", 0), 0u);
    model.sampleChosen(0);
    EXPECT_FALSE(model.exportTables(Format("html")).problem.empty());
}

// The 分析 dialog's what-if for a set of ticked rows is what --assume prints for those units, and
// its total is the report's when the script itself scores them 1. It says nothing of the tool.
TEST(FrontEnd, WhatIfIsTheTotalAssumeGives) {
    struct Case {
        int sample;                       // as the sample list numbers them
        std::vector<std::string> ticked;  // units, in the order the user ticks them
        bool gainsAddUp;
    };
    const Case cases[] = {
        {3, {"7.4", "4.4"}, true},
        {3, {"4.4", "4.6"}, false},  // one layer's rounded score, not two gains
        {3, {"2.4", "1.1", "7.4"}, true},
        {1, {"2.3", "2.1"}, true},
        {1, {"1.2", "6.1", "4.7"}, true},
    };
    for (const Case& c : cases) {
        FrontEnd model;
        model.start();
        model.sampleChosen(c.sample);
        const Analysis analysis = model.analysis();
        std::vector<std::size_t> rows;
        for (const std::string& unit : c.ticked) {
            const auto row = std::find_if(analysis.units.begin(), analysis.units.end(),
                                          [&](const std::string& r) { return r.rfind(unit + " ", 0) == 0; });
            ASSERT_NE(row, analysis.units.end()) << unit;
            rows.push_back(static_cast<std::size_t>(row - analysis.units.begin()));
        }
        std::vector<std::size_t> inListOrder = rows;
        std::sort(inListOrder.begin(), inListOrder.end());
        std::string assumeList;
        for (const std::size_t row : inListOrder) assumeList += (assumeList.empty() ? "" : ",") + analysis.units[row].substr(0, 3);

        const std::string script(BuiltInSamples[static_cast<std::size_t>(c.sample)].text);
        const ScriptRun run = InterpretScript(script, {}, true);
        const AssumedUnits assumed = ParseAssumedUnits(assumeList, *run.lastReport);
        ASSERT_EQ(assumed.error, "");
        const Explanation e = ExplainTotal(*run.lastReport, run.lastReportFlags);
        const std::string tool = ExplanationText(*run.lastReport, e, &assumed, run.lastReportFlags);
        const std::string assumeLine = tool.substr(tool.rfind("\n假设 ") + 1);

        const std::string shown = model.whatIf(rows);
        EXPECT_EQ(shown.substr(0, shown.find('\n') + 1), assumeLine) << assumeList;
        EXPECT_EQ(shown.find("quillon-score"), std::string::npos);
        EXPECT_NE(shown.find(kGainsDoNotAddUp), std::string::npos);
        const Assumption a = Assume(*run.lastReport, e, assumed, run.lastReportFlags);
        EXPECT_EQ(std::abs(a.total - e.total - a.sumOfGains) < 5e-5, c.gainsAddUp) << assumeList;

        // The script itself scoring the units 1, and a report after (sample 2 has its own).
        std::string compliant = script;
        for (const std::string& unit : c.ticked) compliant += "$$" + unit + " 1\r\n";
        const std::string report = ScoreScript(compliant + (c.sample == 1 ? "mpout2\r\n" : ""));
        const std::size_t total = report.rfind("级 密评总分=");
        ASSERT_NE(total, std::string::npos);
        std::istringstream figures(report.substr(total + std::string("级 密评总分=").size()));
        std::string rounded, exact;
        figures >> rounded >> exact;
        EXPECT_NE(assumeLine.find("总分 " + rounded + "（" + exact + "）"), std::string::npos) << assumeList << ": " << assumeLine;
    }
    // Nothing ticked, or only rows past the list: no total, a word on what to tick.
    FrontEnd model;
    model.start();
    model.sampleChosen(3);
    const std::string none = model.whatIf({});
    EXPECT_EQ(none.rfind("勾选上面的单元", 0), 0u);
    EXPECT_EQ(model.whatIf({99}), none);
    EXPECT_NE(none.find("各层面失分（合计 30.3202，100 - 总分 = 30.3202）："), std::string::npos);
}

// Notes are marks of their own kind, in row order with the problems, a row's problems first.
TEST(FrontEnd, NotesAreMarkedApartFromProblems) {
    const std::string script = "$$4.1 VVV*1.2\n$$4.2 VVX*0.5 abc\n";
    const std::vector<Mark> marks = MarksOf(InterpretScript(script, {}, true).account, script);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_TRUE(marks[0].note);
    EXPECT_EQ(marks[0].message.rfind("提示[Q602]", 0), 0u);
    EXPECT_EQ(marks[0].begin, 6u);
    EXPECT_EQ(marks[1].row, 1u);
    EXPECT_FALSE(marks[1].note);  // the Q304 problem on "abc"
    EXPECT_TRUE(marks[2].note);
    EXPECT_EQ(marks[2].row, 1u);
}

// A tip's first line; the second says what the line stored.
std::string FirstLine(const std::string& tip) { return tip.substr(0, tip.find('\n')); }

// The tip at a row and column of a script scored as typed.
std::string TipAt(std::string_view script, std::size_t row, std::size_t column) {
    FrontEnd model;
    model.start();
    model.edited(script);
    std::string_view text = script;
    for (std::size_t n = 0; n < row; ++n) text = text.substr(text.find('\n') + 1);
    return model.wordTip(text.substr(0, text.find('\n')), row, column);
}

// The tip of a word names, on its first line, the unit the interpreter stored it into and its
// weight at the level in force on its row; rows edited since the last run (real-time mode off)
// are read alone.
TEST(FrontEnd, WordTipsNameTheUnitAWordSets) {
    struct Case { const char* script; std::size_t row; std::size_t column; const char* tip; };
    const char* const k42At4 = "4.2 应用与数据安全_2.访问控制信息完整性，4 级权重 0.7";
    for (const Case& c : {Case{"mpinit=4\n@@4 0.6667 1", 1, 11, k42At4},
                          Case{"mpinit=4\n@@4 0.6667 1", 1, 4, "4.1 应用与数据安全_1.身份鉴别，4 级权重 1.0"},
                          Case{"mpinit=4\n@@4 0.6667 1", 1, 10, ""},  // the blank between words
                          Case{"@@1 中 1", 0, 6, "1.2 物理和环境安全_2.电子门禁记录数据存储完整性，3 级权重 0.7"},
                          Case{"mpinit=1\n@@1 1 1 1", 1, 8, "1.3 物理和环境安全_3.视频记录数据完整性，1 级不评"},
                          Case{"@@1 1 1 1 1", 0, 10, ""},  // the layer has three units
                          Case{"@@1 1", 0, 1, "第1层 物理和环境：其后的词依次是各单元的得分"},
                          Case{"\t@@1 1", 0, 5, "1.1 物理和环境安全_1.身份鉴别，3 级权重 1.0"},  // the TAB is dropped
                          // So is a word of nothing but a TAB: "0.5" is the first unit's.
                          Case{"@@1 \t 0.5", 0, 7, "1.1 物理和环境安全_1.身份鉴别，3 级权重 1.0"},
                          Case{"mpinit=4\n$$4.2 VVX", 1, 3, k42At4},
                          Case{"mpinit=4\n$$4.02 VVX", 1, 3, k42At4},  // stores into 4.2
                          Case{"mpinit=4\n$$4.2x VVX", 1, 5, k42At4},  // read as $$4.2
                          Case{"mpinit=4\n$$4.2 VVX", 1, 7, ""}, Case{"$$42 1", 0, 1, ""},
                          Case{"$$4.9 VVX", 0, 1, ""}, Case{"@@9 1", 0, 4, ""}, Case{"mpout 1", 0, 6, ""},
                          Case{"mpinit=9\n@@1 1", 0, 1, ""},
                          // A blank row between two LFs is a row of its own: the level is row 2's.
                          Case{"mpinit=1\n\n@@1 1 1 1\nmpinit=4", 2, 8, "1.3 物理和环境安全_3.视频记录数据完整性，1 级不评"}}) {
        EXPECT_EQ(FirstLine(TipAt(c.script, c.row, c.column)), c.tip) << c.script << " @" << c.column;
    }
    FrontEnd model;
    model.start();
    model.edited("mpinit=1\n@@1 1 1 1\nmpinit=4\n@@1 1 1 1");
    EXPECT_EQ(FirstLine(model.wordTip("@@1 1 1 1", 1, 8)), "1.3 物理和环境安全_3.视频记录数据完整性，1 级不评");
    EXPECT_EQ(FirstLine(model.wordTip("@@1 1 1 1", 3, 8)), "1.3 物理和环境安全_3.视频记录数据完整性，4 级权重 0.7");
    model.realTimeClicked(false, "mpinit=1\n@@1 1 1 1\nmpinit=4\n@@1 1 1 1");
    model.edited("mpinit=1\n@@1 1 1 1\nmpinit=4\n$$4.02 VVX\n$$4.3 VVX XXX");  // not scored
    EXPECT_EQ(FirstLine(model.wordTip("$$4.02 VVX", 3, 2)), k42At4);
    // What such a row stores is worked out from it too.
    EXPECT_EQ(model.wordTip("$$4.3 VVX XXX", 4, 2),
              "4.3 应用与数据安全_3.重要信息资源安全标记完整性，4 级权重 0.7\n4.3 ← 0.25 = (0.5 + 0) / 2");
    EXPECT_EQ(model.lineRecord("mpinit=9", 3).kind, LineKind::Comment);
}

// What a line did, under the word the assessor looks at: over a unit line's "$$L.U" the score it
// stored and each counted object's score (weights applied, in the report's digits less the
// zeros that end them); over a layer line's word the score stored there; over a count form's
// "$$" the mean its report line printed. Hand-checked figures in the comments.
TEST(FrontEnd, WordTipsSayWhatTheLineStored) {
    // VVX 0.5, VXX 0.25 halved by *0.5 to 0.125, XXX 0: 0.625 / 3 = 0.208333, stored as 0.2083.
    EXPECT_EQ(TipAt("mpinit=4\n$$4.2 VVX VXX*0.5 XXX", 1, 2),
              "4.2 应用与数据安全_2.访问控制信息完整性，4 级权重 0.7\n4.2 ← 0.2083 = (0.5 + 0.125 + 0) / 3");
    // The count form prints the mean unrounded, to 5 decimals: 0.20833; its objects have no tip.
    EXPECT_EQ(TipAt("$$ VVX VXX*0.5 XXX", 0, 1), "单元得分= 0.20833 = (0.5 + 0.125 + 0) / 3");
    EXPECT_EQ(TipAt("$$ VVX VXX*0.5 XXX", 0, 4), "");
    EXPECT_EQ(TipAt("$$ ---", 0, 0), "单元得分= 1307117.31660：没有计入的对象，1 个不适用");

    // "@@4 0.66666 -0.5 * abc 0.5abc \\ 1.5": its words start at 4, 12, 17, 19, 23, 30 and 32.
    const char* const layer = "mpinit=4\n@@4 0.66666 -0.5 * abc 0.5abc \\ 1.5";
    struct Case { const char* script; std::size_t row; std::size_t column; const char* stored; };
    for (const Case& c : {
             // 0.25 + 0 + 0.6 = 0.85, / 3 = 0.283333; "---" is left out of the mean.
             Case{"mpinit=4\n$$4.1 VXX X-- --- 0.6", 1, 0, "4.1 ← 0.2833 = (0.25 + 0 + 0.6) / 3，1 个不适用"},
             // max(0.5, 0.6) is 0.6; VVV keeps 1 under *1.2; max(0.5) is not counted: 1.6 / 2.
             Case{"$$4.3 max(1.0*0.5,0.6) VVV*1.2 max(0.5)", 0, 1, "4.3 ← 0.8 = (0.6 + 1) / 2，1 个 max( 未计入"},
             Case{"$$4.4 ---", 0, 1, "4.4 ← 1307117.3166：没有计入的对象，1 个不适用"},  // as the report prints it
             Case{"$$4.5 0.33333", 0, 1, "4.5 ← 0.3333 = (0.33333) / 1"},  // stored rounded, the object as read
             Case{"$$4.2x VVV", 0, 1, "4.2 ← 1 = (1) / 1"},               // read as $$4.2
             Case{"mpinit=1\n$$1.3 VVX", 1, 1, "1.3 未存入"},             // level 1 does not assess 1.3
             Case{layer, 1, 4, "4.1 ← 0.66666"}, Case{layer, 1, 12, "4.2 ← 不适用"}, Case{layer, 1, 17, "4.3 不变"},
             Case{layer, 1, 19, "4.4 不变"}, Case{layer, 1, 28, "4.5 ← 0.5"}, Case{layer, 1, 30, "4.6 ← 不适用"},
             Case{layer, 1, 34, "4.7 ← 1.5"},
             Case{"mpinit=1\n@@1 1 1 1", 1, 8, "1.3 不变"},  // not assessed at level 1
             Case{"@@1 0.\t5", 0, 5, "1.1 ← 0.5"},           // the run drops the TAB
             Case{"@@1 1 \t 0.25", 0, 9, "1.2 ← 0.25"},      // and a word of nothing else
         }) {
        const std::string tip = TipAt(c.script, c.row, c.column);
        EXPECT_EQ(tip.substr(tip.find('\n') + 1), c.stored) << c.script << " @" << c.column;
    }
}

// The notice's help lines show commands to read; typed into, the notice is scored, but its own
// lines are never marked. The same line typed anew, or changed, is.
TEST(FrontEnd, TheNoticesOwnLinesAreNeverMarked) {
    FrontEnd model;
    const std::string notice = *model.start().script;
    const Update typed = model.edited(notice + "x");
    ASSERT_TRUE(typed.report);
    EXPECT_TRUE(typed.marks->empty());
    EXPECT_FALSE(model.edited(notice + "  mpinit=1234 x 为可选参数 \n").marks->empty());
    EXPECT_FALSE(model.edited(notice + "@@9\n").marks->empty());
}

// A long script: the report cut at its limit is said whatever the account lists, and the rows a
// view shows are marked in full wherever they are, listed from there on request.
TEST(FrontEnd, CutReportsAreSaidAndEveryRowShownIsMarked) {
    std::string script;
    for (int i = 0; i < 100000; ++i) script += i % 10 == 9 ? "@@9 1\n" : "mpecho 第" + std::to_string(i) + "行的备注 abcdefghij\n";
    const auto rowsMarked = [](const std::vector<Mark>& marks, std::size_t first, std::size_t last) {
        std::vector<std::size_t> rows;
        for (const Mark& m : marks) {
            if (m.row >= first && m.row <= last && (rows.empty() || rows.back() != m.row)) rows.push_back(m.row);
        }
        return rows;
    };
    FrontEnd model;
    model.start();
    const Update scored = model.edited(script);
    EXPECT_EQ(model.reportNotice(), ReportCutMessage());
    EXPECT_NE(model.marksNotice().find("另有 9001 个问题和提示未列出"), std::string::npos) << model.marksNotice();
    EXPECT_EQ(model.markedRows().first, 0u);
    EXPECT_EQ(model.markedRows().end, 10009u);  // the row of the 1,001st problem
    EXPECT_EQ(rowsMarked(*scored.marks, 9980, 10020), (std::vector<std::size_t>{9989, 9999}));
    EXPECT_FALSE(model.marksFor(9000, 9040).marks);  // listed already: no second run
    // Rows far down, and the row where the report was cut, wherever the view stands.
    const Update far = model.marksFor(50000, 50040);
    ASSERT_TRUE(far.marks);
    EXPECT_EQ(rowsMarked(*far.marks, 50000, 50040), (std::vector<std::size_t>{50009, 50019, 50029, 50039}));
    EXPECT_EQ(model.markedRows().first, 49959u);
    EXPECT_FALSE(model.marksFor(49990, 50030).marks);
    std::size_t cutRow = 0;
    for (const Problem& p : InterpretScript(script, {}, true, 30001).account.problems) {
        if (p.code == problem::ReportCut) cutRow = p.line - 1;
    }
    ASSERT_GT(cutRow, 30000u);
    const Update atCut = model.marksFor(cutRow - 10, cutRow + 10);
    ASSERT_TRUE(atCut.marks);
    EXPECT_TRUE(std::any_of(atCut.marks->begin(), atCut.marks->end(), [&](const Mark& m) {
        return m.row == cutRow && m.message.find("Q508") != std::string::npos;
    }));
    // Edits list from where the view stands; a text from the program from its start.
    EXPECT_FALSE(rowsMarked(*model.edited(script + "@@9\n").marks, cutRow - 10, cutRow + 10).empty());
    model.sampleChosen(3);
    model.fileRead("long.txt", {FileRead::Status::Read, script});  // a file, as the desktop reads it
    EXPECT_EQ(model.reportNotice(), ReportCutMessage());
    EXPECT_EQ(model.markedRows().end, 10009u);
    const Update sample = model.sampleChosen(3);
    EXPECT_TRUE(sample.marks->empty());
    EXPECT_EQ(model.reportNotice(), "");
    EXPECT_EQ(model.marksNotice(), "");
    EXPECT_FALSE(model.marksFor(50000, 50040).marks);
}

// A row is marked with all its problems or not at all: three on each row, the 1,000 listed end
// within row 334, which is left to a request.
TEST(FrontEnd, NoRowIsMarkedInPart) {
    std::string script;
    for (int i = 0; i < 400; ++i) script += "@@1 x y z\n";
    const std::vector<Mark> marks = MarksOf(InterpretScript(script, {}, true).account, script);
    ASSERT_EQ(marks.size(), 333u * 3);
    EXPECT_EQ(marks.back().row, 332u);
    const std::vector<Mark> later = MarksOf(InterpretScript(script, {}, true, 334).account, script);
    ASSERT_EQ(later.size(), 67u * 3);
    EXPECT_EQ(later.front().row, 333u);
}

}  // namespace
}  // namespace quillon::app
