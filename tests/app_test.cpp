// The front ends' model without any window: when a script is scored, what the boxes show,
// what a load accepts, which words are marked and where Save writes.
#include <gtest/gtest.h>

#include <string>

#include "app/front_end.hpp"
#include "app/marks.hpp"
#include "app/desktop_files.hpp"
#include "app/text_change.hpp"
#include "app/word_tips.hpp"
#include "script/builtin_texts.hpp"
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

TEST(FrontEnd, LinksAndF2) {
    FrontEnd model(Links{"https://home.invalid/", "https://home.invalid/wxm-skm.jpg"});
    EXPECT_EQ(model.link(LinkCommand::HomePage).link, "https://home.invalid/");
    EXPECT_EQ(model.link(LinkCommand::DonationPicture).link, "https://home.invalid/wxm-skm.jpg");
    EXPECT_EQ(model.link(LinkCommand::Help).link, "help2.htm");
    EXPECT_EQ(model.f2Pressed(false).message, "VK_F2");
    EXPECT_FALSE(model.f2Pressed(true).message);
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

// The views export the last scored report's tables and show its gains; nothing before a report.
TEST(FrontEnd, ExportsAndAnalysisOfTheLastScoredReport) {
    FrontEnd model;
    model.start();
    EXPECT_EQ(model.exportTables(ExportFormat::Csv).problem, "还没有报告可导出：先算分。");
    EXPECT_TRUE(model.exportTables(ExportFormat::Xlsx).bytes.empty());
    EXPECT_NE(model.analysis().find("还没有算分"), std::string::npos);
    model.sampleChosen(3);
    const std::string csv = model.exportTables(ExportFormat::Csv).bytes;
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(csv.find("4,42.7710,26.9088,69.6798,69.680"), std::string::npos);
    EXPECT_NE(model.exportTables(ExportFormat::Html).bytes.find("<svg"), std::string::npos);
    const ExportedFile book = model.exportTables(ExportFormat::Xlsx);
    EXPECT_EQ(book.problem, "");
    EXPECT_EQ(book.bytes.rfind("PK\x03\x04", 0), 0u);  // a zip, read back cell by cell by exports_read_back
    EXPECT_NE(model.analysis().find("4.4    0.2500   1.0  +3.3570    73.0368"), std::string::npos);
    model.sampleChosen(0);
    EXPECT_FALSE(model.exportTables(ExportFormat::Html).problem.empty());
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

// The tip of a word names the unit it sets and its weight at the level in force.
TEST(FrontEnd, WordTipsNameTheUnitAWordSets) {
    struct Case { const char* row; std::size_t column; int level; const char* tip; };
    for (const Case& c : {Case{"@@4 0.6667 1", 11, 4, "4.2 应用与数据安全_2.访问控制信息完整性，4 级权重 0.7"},
                          Case{"@@4 0.6667 1", 4, 4, "4.1 应用与数据安全_1.身份鉴别，4 级权重 1.0"},
                          Case{"@@4 0.6667 1", 10, 4, ""},  // the blank between words
                          Case{"@@1 中 1", 6, 3, "1.2 物理和环境安全_2.电子门禁记录数据存储完整性，3 级权重 0.7"},
                          Case{"@@1 1 1 1", 8, 1, "1.3 物理和环境安全_3.视频记录数据完整性，1 级不评"},
                          Case{"@@1 1 1 1 1", 10, 3, ""},  // the layer has three units
                          Case{"@@1 1", 1, 3, "第1层 物理和环境：其后的词依次是各单元的得分"},
                          Case{"$$4.2 VVX", 3, 4, "4.2 应用与数据安全_2.访问控制信息完整性，4 级权重 0.7"},
                          Case{"$$4.2 VVX", 7, 4, ""}, Case{"$$42 1", 1, 4, ""}, Case{"@@9 1", 4, 3, ""},
                          Case{"mpout 1", 6, 3, ""}}) {
        EXPECT_EQ(WordTip(c.row, c.column, c.level), c.tip) << c.row << " @" << c.column;
    }
    FrontEnd model;
    model.start();
    model.edited("mpinit=1\n@@1 1 1 1\nmpinit=4\n@@1 1 1 1");
    EXPECT_EQ(model.wordTip("@@1 1 1 1", 1, 8), "1.3 物理和环境安全_3.视频记录数据完整性，1 级不评");
    EXPECT_EQ(model.wordTip("@@1 1 1 1", 3, 8), "1.3 物理和环境安全_3.视频记录数据完整性，4 级权重 0.7");
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

}  // namespace
}  // namespace quillon::app
