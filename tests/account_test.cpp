// The account of a run: every problem code has a script that triggers it and a near miss that
// does not, and keeping the account never changes the report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "codec/encoding.hpp"
#include "app/builtin_texts.hpp"
#include "script/commands.hpp"
#include "script/line_detail.hpp"
#include "scoring/text_format.hpp"
#include "text/utf8.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

struct ProblemCase {
    const char* name;
    std::string_view code;
    const char* trigger;   // the problem is on its last line
    const char* nearMiss;  // the same idea written right: no problem with this code
    bool isNote = false;   // a note (Q6xx), kept apart from the problems
    const char* message = nullptr;  // the trigger's message, when a case says it
};

std::vector<Problem> ProblemsOf(std::string_view script) { return InterpretScript(script, {}, true).account.problems; }

std::size_t LineCount(std::string_view script) {
    return InterpretScript(script, {}, true).account.lines.size();
}

class ProblemCodes : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(ProblemCodes, TriggerAndNearMiss) {
    const auto& c = GetParam();
    const auto entries = [&](std::string_view script) {
        ScriptAccount account = InterpretScript(script, {}, true).account;
        for (const Problem& p : account.problems) EXPECT_NE(p.code.substr(0, 2), "Q6") << p.message;
        return c.isNote ? account.notes : account.problems;
    };
    const auto found = entries(c.trigger);
    const auto entry = std::find_if(found.begin(), found.end(), [&](const Problem& p) { return p.code == c.code; });
    ASSERT_NE(entry, found.end()) << c.trigger;
    // A script without commands is told at its first line, whatever its rows.
    EXPECT_EQ(entry->line, c.code == problem::NoCommand ? 1 : LineCount(c.trigger));
    EXPECT_FALSE(entry->message.empty());
    if (c.message != nullptr) {
        EXPECT_EQ(entry->message, c.message);
    }
    if (c.isNote) {
        EXPECT_GT(entry->column, 0u);  // a note is about a word
    }
    for (const Problem& p : entries(c.nearMiss)) EXPECT_NE(p.code, c.code) << c.nearMiss << ": " << p.message;
}

INSTANTIATE_TEST_SUITE_P(
    Account, ProblemCodes,
    ::testing::Values(
        ProblemCase{"level_digit", problem::LevelDigit, "mpinit=5 1", "mpinit=4 1"},
        ProblemCase{"level_digit_missing", problem::LevelDigit, "mpinit=", "mpinit=1"},
        ProblemCase{"argument_not_hex", problem::NotHexadecimal, "mpinit=2 zz", "mpinit=2 a"},
        ProblemCase{"flags_not_hex", problem::NotHexadecimal, "mpout xyz", "mpout 30100"},
        ProblemCase{"flags_read_in_part", problem::ArgumentReadInPart, "mpout 30100xyz", "mpout 30100 xyz"},
        ProblemCase{"argument_read_in_part", problem::ArgumentReadInPart, "mpinit=3 1,", "mpinit=3 0x1"},
        ProblemCase{"layer_digit", problem::LayerDigit, "@@9 1 1 1", "@@8 1 1 1"},
        ProblemCase{"layer_digit_blank", problem::LayerDigit, "@@ 1 1 1", "@@1 1 1 1"},
        ProblemCase{"extra_layer_words", problem::ExtraLayerWords, "@@1 1 1 1 1", "@@1 1 1 1"},
        ProblemCase{"not_a_number", problem::NotANumber, "@@1 abc", "@@1 .5"},
        ProblemCase{"layer_unit_not_assessed", problem::LayerUnitNotAssessed, "mpinit=1\n@@1 1 1 1", "mpinit=1\n@@1 1 1 /"},
        ProblemCase{"minus_number", problem::MinusMeansNotApplicable, "@@1 -0.5", "@@1 - / \\"},
        ProblemCase{"malformed_unit_command", problem::MalformedUnitCommand, "$$42 1", "$$4.2 1"},
        ProblemCase{"two_digit_layer", problem::MalformedUnitCommand, "$$10.1 1", "$$1.1 1"},
        ProblemCase{"unit_out_of_range", problem::UnitOutOfRange, "$$4.9 1", "$$4.8 1"},
        ProblemCase{"layer_out_of_range", problem::UnitOutOfRange, "$$9.1 1", "$$8.1 1"},
        ProblemCase{"unit_not_assessed", problem::UnitNotAssessed, "mpinit=1\n$$1.3 1", "mpinit=3\n$$1.3 1"},
        ProblemCase{"no_such_unit", problem::UnitNotAssessed, "$$1.4 1", "$$1.3 1"},
        ProblemCase{"objects_cut_short", problem::ObjectsCutShort, "$$4.2 VVX / VVV", "$$4.2 VVX --- VVV"},
        ProblemCase{"count_form_cut_short", problem::ObjectsCutShort, "$$ VVX XVV", "$$ VVX VXV"},
        ProblemCase{"too_many_objects", problem::TooManyObjects, "$$4.1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                    "$$4.1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"},
        ProblemCase{"max_ignored", problem::MaxIgnored, "$$4.1 max(vvx,vxx) VVV", "$$4.1 max(0.5,0.25) VVV"},
        ProblemCase{"no_object_counted", problem::NoObjectCounted, "$$4.2 --- ---", "$$4.2 --- VVX"},
        ProblemCase{"layer_score_above_one", problem::ScoreOutOfRange, "@@5 2", "@@5 1"},
        ProblemCase{"unit_score_below_zero", problem::ScoreOutOfRange, "$$4.1 -0.05", "$$4.1 0"},
        ProblemCase{"unit_score_above_one", problem::ScoreOutOfRange, "$$4.1 0.9*1.5", "$$4.1 VVV*1.5"},
        ProblemCase{"blank_before_command", problem::CommandAfterBlank, " mpout", "\tmpout"},
        ProblemCase{"blank_before_layer_line", problem::CommandAfterBlank, "  @@1 1 0", "@@1 1 0"},
        ProblemCase{"blank_and_wrong_case", problem::CommandAfterBlank, " MPOUT", "note MPOUT"},
        ProblemCase{"wrong_case", problem::CommandWrongCase, "MPOUT", "mpout"},
        ProblemCase{"wrong_case_level", problem::CommandWrongCase, "Mpinit=4", "mpinit=4"},
        ProblemCase{"tab_glued_layer_line", problem::GluedByControlBytes, "@@1\t1\t0", "@@1 \t1 \t0"},
        ProblemCase{"tab_glued_flags", problem::GluedByControlBytes, "mpout\t100", "\tmpout 100"},
        ProblemCase{"full_width_command", problem::FullWidth, "ｍｐｏｕｔ", "mpout 全角注释"},
        ProblemCase{"full_width_number", problem::FullWidth, "@@1 ０.５", "@@1 0.5 备注"},
        ProblemCase{"ideographic_full_stop", problem::FullWidth, "$$1.1 0。5", "$$1.1 0.5"},
        ProblemCase{"ideographic_space_before", problem::SpaceLike, "\u3000mpout", "mpout 30000 全角空格　注释"},
        ProblemCase{"long_remark_after_a_blank", problem::SpaceLike, "\u3000mpout 中文中文中文中文中文中文中文中文中文中文中文中文中文中文",
                    " mpout 中文中文中文中文中文中文中文中文中文中文中文中文中文中文"},
        ProblemCase{"nbsp_between_words", problem::SpaceLike, "@@1\u00A01 1", "@@1 1 1"},
        ProblemCase{"zero_width_space", problem::SpaceLike, "@@1 1\u200B 1", "@@1 1 1"},
        ProblemCase{"comma_in_layer_line", problem::CommaBetweenWords, "@@1 0.5,1,0.5", "@@1 0.5 1 0.5"},
        ProblemCase{"comma_in_unit_line", problem::CommaBetweenWords, "$$4.1 VVX,VVV", "$$4.1 max(0.5,0.25)"},
        ProblemCase{"enumeration_comma", problem::CommaBetweenWords, "$$ VVX、VVV", "mpecho VVX、VVV"},
        ProblemCase{"comma_after_an_expression", problem::CommaBetweenWords, "$$4.1 max(0.5,0.25) VVX,VVV", "@@1,0.5 1"},
        ProblemCase{"unknown_weight", problem::UnknownWeight, "$$4.1 VVX*3", "$$4.1 VVX*0.5 VVX*1.2 0.5*5"},
        // A word read by its start: the score stays as it always was, the account says so.
        ProblemCase{"layer_number_and_letters", problem::LayerWordReadInPart, "@@1 0.5abc", "@@1 0.5 abc", false,
                    "单元 1.1（物理和环境安全_1.身份鉴别） 的得分“0.5abc”只读取了开头的数字“0.5”，其后的“abc”被忽略"},
        ProblemCase{"layer_hexadecimal", problem::LayerWordReadInPart, "@@1 1 0x10", "@@1 1 0 x10"},
        ProblemCase{"layer_underscore", problem::LayerWordReadInPart, "@@1 1_0", "@@1 1e-1 .5 5."},
        ProblemCase{"layer_keep_and_number", problem::LayerWordReadInPart, "@@2 *0.5", "@@2 * 0.5 ** - ---"},
        ProblemCase{"layer_slash_and_letter", problem::LayerWordReadInPart, "@@2 1 /x", "@@2 1 / \\ -/"},
        ProblemCase{"two_codes_in_one_token", problem::ObjectReadInPart, "$$4.2 VVVXXX", "$$4.2 VVV XXX", false,
                    "“VVVXXX”不是单个判定，按其中的“VVV”计分"},
        ProblemCase{"code_and_letter", problem::ObjectReadInPart, "$$4.2 VVVX", "$$4.2 VVV X--"},
        ProblemCase{"code_and_number", problem::ObjectReadInPart, "$$ VVX0.5", "$$ VVX 0.5 VVX*0.5"},
        ProblemCase{"code_and_dashes", problem::ObjectReadInPart, "$$4.1 VVV---", "$$4.1 VVV --- ----"},
        ProblemCase{"max_third_argument", problem::ObjectReadInPart, "$$4.1 max(0.1,0.2,0.9)", "$$4.1 max(0.1,0.2)"},
        ProblemCase{"number_and_letters", problem::NumberReadInPart, "$$4.2 0.5abc", "$$4.2 0.5 abc"},
        ProblemCase{"hexadecimal_object", problem::NumberReadInPart, "$$ 0x10", "$$ 0 1e-1 -0.05"},
        ProblemCase{"underscore_object", problem::NumberReadInPart, "$$4.1 1_0", "$$4.1 1 0.5*0.5"},
        ProblemCase{"max_argument", problem::NumberReadInPart, "$$4.1 max(0.5abc,0.6)", "$$4.1 max(1.0*0.5,0.6)"},
        ProblemCase{"unit_command_and_letter", problem::UnitCommandReadInPart, "$$4.2x 0.5", "$$4.2 x0.5", false,
                    "“$$4.2x”按单元 4.2 读取，其后的“x”被忽略（命令和对象之间须有空格）"},
        ProblemCase{"unit_command_and_object", problem::UnitCommandReadInPart, "$$4.2，VVX", "$$4.02 VVX"},
        ProblemCase{"no_command", problem::NoCommand, "某三级练习", "某三级练习\nmpout"},
        ProblemCase{"blank_script", problem::NoCommand, "\n", "mpecho"},
        ProblemCase{"byte_order_mark", problem::ByteOrderMarkInside, "\uFEFFmpout", "mpout"},
        ProblemCase{"replacement_character", problem::ReplacementCharacter, "mpout\n# \uFFFD", "mpout\n# ?"},
        ProblemCase{"replacement_in_a_score", problem::ReplacementCharacter, "@@1 0.\uFFFD", "@@1 0.5"}),
    [](const auto& info) { return std::string(info.param.name); });

// Notes: where a script departs from the official scoring rules.
INSTANTIATE_TEST_SUITE_P(
    Notes, ProblemCodes,
    ::testing::Values(
        ProblemCase{"d_not_met", note::DNotMet, "$$4.1 VVX XVV", "$$4.1 VVX XXX", true},
        ProblemCase{"d_not_met_weighted", note::DNotMet, "$$ xxv*0.5", "$$ vxv*0.5", true},
        ProblemCase{"rk_where_k_is_met", note::RkCannotApply, "mpinit=3\n$$4.1 VVV*1.2", "mpinit=3\n$$4.1 VVX*1.2", true},
        ProblemCase{"rk_at_another_level", note::RkCannotApply, "mpinit=3\n$$4.1 VVX*1.5", "mpinit=4\n$$4.1 VVX*1.5", true},
        ProblemCase{"rk_at_level_two", note::RkCannotApply, "mpinit=2\n$$ VXX*12", "mpinit=3\n$$ VXX*12", true},
        ProblemCase{"ra_where_a_is_met", note::RaCannotApply, "$$4.1 VVX*0.5", "$$4.1 VXV*0.5", true},
        ProblemCase{"ra_on_full_marks", note::RaCannotApply, "$$4.1 VVV*0.2", "$$4.1 VXX*0.2", true},
        ProblemCase{"weighted_above_one", note::ObjectAboveOne, "$$4.1 0.7*1.5", "$$4.1 0.6*1.5", true},
        ProblemCase{"number_above_one", note::ObjectAboveOne, "$$ 2", "$$ 1", true},
        ProblemCase{"max_at_one", note::MaxCountedPartly, "$$4.1 max(1,0.5)", "$$4.1 max(0.5,0.6)", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Which objects of a line get a note, and where: the weights are read as the rules write them,
// with or without the point, and nothing else is.
TEST(Account, NotesNameTheObjectsTheyAreAbout) {
    struct Case {
        const char* script;
        std::vector<std::pair<std::string_view, std::size_t>> notes;  // code and column, in order
    };
    const Case cases[] = {
        {"$$4.1 VVX 0.6 VVV*1.2 XXX max(1.0*0.5,0.6)", {{note::RkCannotApply, 15}}},
        {"$$4.1 VVV*12 VVV*15 VVV*1.25 VVV*05 VVV*0.50 vvv*2", {{note::RkCannotApply, 7}, {note::RkCannotApply, 14}, {note::RaCannotApply, 46}}},
        {"$$ VVV VVV*0.5*1.2 1 0.99", {{note::RkCannotApply, 8}, {note::RaCannotApply, 8}}},
        {"$$ 1.5 max(1,0.5) VVVV*0.5", {{note::ObjectAboveOne, 4}, {note::MaxCountedPartly, 8}}},
        {"$$ 1.5 max(1,0.5) VV*0.5", {{note::ObjectAboveOne, 4}, {note::MaxCountedPartly, 8}}},
        {"$$4.1 VVX XVX*0.5 VVV*1.2", {{note::DNotMet, 11}}},
    };
    for (const Case& c : cases) {
        const ScriptAccount account = InterpretScript(c.script, {}, true).account;
        std::vector<std::pair<std::string_view, std::size_t>> notes;
        for (const Problem& n : account.notes) notes.emplace_back(n.code, n.column);
        EXPECT_EQ(notes, c.notes) << c.script;
    }
}

TEST(Account, EveryLineIsTakenAsSomething) {
    const ScriptRun run = InterpretScript("mpinit=4\r\n@@1 1\r\n$$4.2 VVX\r\n$$ VVX\r\nmpout\r\nmpecho x\r\n注释", {}, true);
    const std::vector<LineRecord> expected = {{LineKind::LevelSetUp, 4}, {LineKind::LayerLine, 4, 1},
                                              {LineKind::UnitLine, 4, 4, 2}, {LineKind::CountForm, 4},
                                              {LineKind::Report, 4},         {LineKind::Echo, 4},
                                              {LineKind::Comment, 4}};
    EXPECT_EQ(run.account.lines, expected);
    EXPECT_TRUE(run.account.problems.empty());
    ASSERT_TRUE(run.lastReport.has_value());
    EXPECT_EQ(run.lastReport->AssessmentLevel, 4);
}

// The record of each row is what the interpreter did with it: the unit a unit line stored
// into as far as its command word was read, the layer of a layer line, the level in force after
// the row, one entry for every row an editor shows (a blank row between two LFs too).
TEST(Account, EachRowRecordsWhatItsLineDid) {
    struct Case { const char* script; std::vector<LineRecord> rows; };
    const std::vector<Case> cases = {
        {"$$4.02 VVX", {{LineKind::UnitLine, 3, 4, 2}}},
        {"$$4.2x VVX", {{LineKind::UnitLine, 3, 4, 2}}},
        {"mpinit=1\n$$1.3 VVX", {{LineKind::LevelSetUp, 1}, {LineKind::UnitLine, 1, 1, 3}}},  // not assessed at 1
        {"$$4.9 VVX\n$$4 VVX\n@@9 1", {{LineKind::UnitLine, 3}, {LineKind::UnitLine, 3}, {LineKind::LayerLine, 3}}},
        {"mpinit=9\nmpinit=2 1", {{LineKind::Comment, 3}, {LineKind::LevelSetUp, 2}}},
        {"mpout4\n\tmpout", {{LineKind::Report, 4}, {LineKind::Report, 4}}},
        {"mpinit=1\n\n\n@@2 1", {{LineKind::LevelSetUp, 1}, {LineKind::Comment, 1}, {LineKind::Comment, 1},
                                  {LineKind::LayerLine, 1, 2}}},
        {"\n$$ VVX\r\n\r\nmpecho", {{LineKind::Comment, 3}, {LineKind::CountForm, 3}, {LineKind::Comment, 3},
                                    {LineKind::Echo, 3}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InterpretScript(c.script, {}, true).account.lines, c.rows) << c.script;
    }
    // A line read alone (a row edited since the run) is taken as the run takes it, but for the level.
    for (const char* line : {"$$4.02 VVX", "$$4.2x VVX", "$$ VVX", "$$4 VVX", "@@3 1", "@@0", "mpinit=9", "mpinit=1",
                             "mpout2", "mpecho", " mpout", "注释", "\tmp\x01out", "$$4.\t2 VVX"}) {
        const LineRecord alone = ReadLineAlone(line);
        const auto rows = InterpretScript(line, {}, true).account.lines;
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(alone.kind, rows[0].kind) << line;
        EXPECT_EQ(std::pair(alone.layer, alone.unit), std::pair(rows[0].layer, rows[0].unit)) << line;
    }
}

// A line read again for a tooltip gives the figures the run gave it, at every level: the unit
// line's stored score, each layer word's score, the mean a count form printed.
TEST(Account, ALineReadAgainGivesTheRunsFigures) {
    std::vector<std::string> lines = {"$$4.1 VXX X-- --- 0.6", "$$ max(1.0*0.5,0.6) VVV*1.2 max(0.5)", "$$ ---",
                                      "@@4 0.66666 -0.5 * abc 0.5abc \\ 1.5 9", "$$4.2 VVX*0.5 0.7*1.5 vxv*1.2 x-- ---",
                                      "\t@@2 0.\t5 \t 1", "$$1.3 VVX", "$$4.9 VVX", "@@9 1"};
    for (int n = 1; n < kBuiltInSampleCount; ++n) {
        std::string_view text = BuiltInSamples[static_cast<unsigned>(n)].text;
        for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos; text = text.substr(end + 2)) {
            lines.emplace_back(text.substr(0, end));
        }
    }
    for (int level = 1; level <= 4; ++level) {
        const std::string setUp = "mpinit=" + std::to_string(level) + "\n";
        const ScoreStore before = InterpretScript(setUp + "mpout 0").store;
        for (const std::string& line : lines) {
            const ScriptRun run = InterpretScript(setUp + line + "\nmpout 0");  // "mpout 0" rounds nothing
            const LineDetail detail = ReadLineDetail(line, level);
            const LineRecord record = ReadLineAlone(line);
            EXPECT_EQ(detail.kind, record.kind) << line;
            if (record.kind == LineKind::UnitLine && record.layer != 0) {
                EXPECT_EQ(UnitScore(run.store, record.layer, record.unit),
                          detail.stored ? detail.objects.score : UnitScore(before, record.layer, record.unit))
                    << line << " at " << level;
            } else if (record.kind == LineKind::CountForm) {
                const std::string printed = LineStartingWith(run.report, "单元得分=");
                EXPECT_EQ(printed.rfind("单元得分= " + Fixed(detail.objects.mean, 0, 5) + " ", 0), 0u) << printed;
                EXPECT_NE(printed.find("=>" + Fixed(static_cast<double>(detail.objects.counted.size()), 2, 0) + "+"),
                          std::string::npos) << printed;
            } else if (record.kind == LineKind::LayerLine && record.layer != 0) {
                ASSERT_EQ(static_cast<int>(detail.words.size()), run.store.UnitCount(record.layer - 1)) << line;
                for (std::size_t u = 0; u < detail.words.size(); ++u) {
                    const int unit = static_cast<int>(u) + 1;
                    const double expected = detail.words[u].effect == WordEffect::Stored ? detail.words[u].score
                                            : detail.words[u].effect == WordEffect::NotApplicable ? NotApplicableMark
                                                                                                  : UnitScore(before, record.layer, unit);
                    EXPECT_EQ(UnitScore(run.store, record.layer, unit), expected) << line << " unit " << unit << " at " << level;
                }
            } else {
                EXPECT_TRUE(!detail.stored && detail.words.empty()) << line;  // $$4.9 stores nothing
            }
        }
    }
}

TEST(Account, ProblemsComeInLineOrderWithTheirLines) {
    const auto problems = ProblemsOf("mpout\r\n@@9 1\r\n\r\n$$4.9 1\r\nMPOUT");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].line, 2u);
    EXPECT_EQ(problems[1].line, 4u);
    EXPECT_EQ(problems[2].line, 5u);
}

struct PlaceCase {
    const char* name;
    const char* script;
    std::string_view code;
    std::size_t line, column, endColumn;  // as an editor counts: characters from 1
};

class ProblemPlaces : public ::testing::TestWithParam<PlaceCase> {};

// Problems name the line and the columns of the word they are about, as an editor counts them.
TEST_P(ProblemPlaces, LineAndColumns) {
    const auto& c = GetParam();
    const auto problems = ProblemsOf(c.script);
    const auto found = std::find_if(problems.begin(), problems.end(), [&](const Problem& p) { return p.code == c.code; });
    ASSERT_NE(found, problems.end());
    EXPECT_EQ(found->line, c.line);
    EXPECT_EQ(found->column, c.column);
    EXPECT_EQ(found->endColumn, c.endColumn);
    if (c.column > 0) {
        const std::string_view script(c.script);
        EXPECT_EQ(script.substr(found->wordOffset, found->wordLength).find(' '), std::string_view::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Account, ProblemPlaces,
    ::testing::Values(
        PlaceCase{"layer_word", "@@1 1 abc", problem::NotANumber, 1, 7, 10},
        PlaceCase{"chinese_token", "$$4.2 VVX 备注文字 VVV", problem::ObjectsCutShort, 1, 11, 15},
        PlaceCase{"count_form_token", "$$  VVX XVV", problem::ObjectsCutShort, 1, 9, 12},
        PlaceCase{"after_a_dropped_tab", "@@1\t1 abc", problem::NotANumber, 1, 7, 10},
        PlaceCase{"unit_command", "\n$$42 1", problem::MalformedUnitCommand, 2, 1, 5},
        PlaceCase{"flag_word", "mpout xyz", problem::NotHexadecimal, 1, 7, 10},
        PlaceCase{"whole_line", "@@1 1 1 1 1", problem::ExtraLayerWords, 1, 0, 0},
        // LF, CR LF and CR each end one line, also mixed; LF LF is two.
        PlaceCase{"lf_blank_lines", "mpout\n\n\n@@9", problem::LayerDigit, 4, 1, 4},
        PlaceCase{"crlf_blank_line", "mpout\r\n\r\n@@9", problem::LayerDigit, 3, 1, 4},
        PlaceCase{"word_after_crlf", "mpout\r\n@@1 1 中abc", problem::NotANumber, 2, 7, 11},
        PlaceCase{"cr_only", "mpout\r\r@@9", problem::LayerDigit, 3, 1, 4},
        PlaceCase{"mixed", "mpout\n\n@@1\r\n\r\n@@2\r@@9", problem::LayerDigit, 6, 1, 4},
        PlaceCase{"lf_cr", "mpout\n\r@@9", problem::LayerDigit, 3, 1, 4},
        PlaceCase{"replacement_run", "mpout\r\n# 注\uFFFD\uFFFD释 \uFFFD", problem::ReplacementCharacter, 2, 4, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// Each run of U+FFFD is one problem that says how many bytes it stands for; invalid UTF-8 handed
// to the library directly becomes U+FFFD the same way.
TEST(Account, ReplacementCharactersAreLostBytes) {
    const auto problems = ProblemsOf("mpecho \uFFFD\uFFFD\uFFFD 测试 \uFFFD\r\n# \xB2\xE2");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].message, "3 个不成字符的字节被读作 U+FFFD（替换字符），原来的内容已丢失");
    EXPECT_EQ(problems[1].message, "一个不成字符的字节被读作 U+FFFD（替换字符），原来的内容已丢失");
    EXPECT_EQ(problems[1].column, 15u);
    EXPECT_EQ(problems[2].line, 2u);
    EXPECT_EQ(problems[2].column, 3u);
    EXPECT_EQ(problems[2].endColumn, 5u);
}

struct MessageCase {
    const char* script;
    std::string_view code;
    const char* message;
};

class ProblemMessages : public ::testing::TestWithParam<MessageCase> {};

// Messages quote a word as written and, where only a part of it was read, say what was.
TEST_P(ProblemMessages, NameTheWord) {
    const auto& c = GetParam();
    const auto problems = ProblemsOf(c.script);
    const auto found = std::find_if(problems.begin(), problems.end(), [&](const Problem& p) { return p.code == c.code; });
    ASSERT_NE(found, problems.end()) << c.script;
    EXPECT_EQ(found->message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Account, ProblemMessages,
    ::testing::Values(
        MessageCase{"$$4.2 VVX 备注文字 VVV", problem::ObjectsCutShort,
                    "对象列表在“备注文字”处中断：它不是判定、数字或表达式，它和其后的对象都未计入"},
        MessageCase{"$$4.5 Xx", problem::ObjectsCutShort, "对象列表在“Xx”处中断：它不是判定、数字或表达式，它和其后的对象都未计入"},
        MessageCase{"$$ UVWXYZ", problem::ObjectsCutShort,
                    "对象列表在“UVWXYZ”处中断：它不是判定、数字或表达式，它和其后的对象都未计入"},
        MessageCase{"$$4.1 VVV -0.5", problem::ObjectsCutShort,
                    "对象列表在“-0.5”处中断：得分低于 -0.1 的数字结束对象列表，它和其后的对象都未计入"},
        MessageCase{"$$4.1 MAX(VVX,XXX) max(VVX,XXX)", problem::MaxIgnored, "表达式“max(VVX,XXX)”不能计算（两个参数须是数字），未计入"},
        MessageCase{"$$4.1 VVX*0.5*0.25", problem::UnknownWeight, "“*0.25”不是权重 *1.2、*1.5、*0.5、*0.2 之一，读作“*0.2”"},
        MessageCase{"$$4.1 VVX*X", problem::UnknownWeight, "“*X”不是权重 *1.2、*1.5、*0.5、*0.2 之一，不起作用"},
        MessageCase{"mpout 3010g", problem::ArgumentReadInPart, "参数“3010g”只读取了开头的十六进制数“3010”，其后的“g”被忽略"},
        MessageCase{"$$4.2 vvVX", problem::ObjectReadInPart, "“vvVX”不是单个判定，按其中的“vvV”计分"},
        MessageCase{"$$4.2 VVX---", problem::ObjectReadInPart, "“VVX---”含“---”，整个对象按不适用处理，不计入"},
        MessageCase{"$$ max(0.5,0.6)x", problem::ObjectReadInPart, "表达式“max(0.5,0.6)x”只计算前两个参数，其后的“x”被忽略"},
        MessageCase{"$$4.2 0x10", problem::NumberReadInPart, "“0x10”只读取了开头的数字“0”，其后的“x10”被忽略"},
        MessageCase{"$$4.2 1_0*0.5", problem::NumberReadInPart, "“1_0”只读取了开头的数字“1”，其后的“_0”被忽略"},
        MessageCase{"$$4.2 max(abc,1)", problem::NumberReadInPart, "表达式“max(abc,1)”的参数“abc”不是数字，不参与比较"},
        MessageCase{"$$4.2 max(0.5*0.2,1)", problem::NumberReadInPart,
                    "表达式“max(0.5*0.2,1)”的参数“0.5*0.2”只读取了开头的数字“0.5”"},
        MessageCase{"$$4.2 V V V V V V V V V V V V V V V V V X", problem::TooManyObjects, "一行最多计 16 个对象，其后的 2 个被忽略"},
        MessageCase{"$$4.2 ---", problem::NoObjectCounted,
                    "单元 4.2（应用与数据安全_2.访问控制信息完整性） 没有可计入的对象：得分记为 1307117.3166，第4层记为 -3.0 并退出总分"},
        MessageCase{"@@1 1 *0.5", problem::LayerWordReadInPart,
                    "“*0.5”以“*”开头，单元 1.2（物理和环境安全_2.电子门禁记录数据存储完整性） 保留原得分，其后的“0.5”被忽略"}),
    [](const auto& info) { return "case_" + std::to_string(info.index); });

TEST(Account, ATokenCutAtItsLimitKeepsWholeCharacters) {
    // 61 bytes and "中" make the 63 GBK bytes a token keeps; "文" is cut off whole.
    const std::string token = std::string(61, 'a') + "中文";
    const auto problems = ProblemsOf("$$4.2 VVX " + token);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].code, problem::ObjectsCutShort);
    EXPECT_NE(problems[0].message.find("“" + std::string(61, 'a') + "中”"), std::string::npos);
    EXPECT_EQ(problems[1].code, problem::TokenCut);
    EXPECT_EQ(problems[1].message, "对象“" + std::string(61, 'a') + "中…”超过 63 字节，只取前 63 字节");
}

// The closing report follows no line: its cut is the whole script's, listed first; a cut made
// by an mpout line stays on that line.
TEST(Account, ReportCutIsPlacedWhereItHappened) {
    std::string echoes;
    for (int i = 0; i < 524; ++i) echoes += "mpecho" + std::string(1990, 'a') + "\r\n";
    const auto closing = ProblemsOf(echoes);
    ASSERT_EQ(closing.size(), 1u);
    EXPECT_EQ(closing[0].code, problem::ReportCut);
    EXPECT_EQ(closing[0].line, 1u);
    EXPECT_EQ(closing[0].column, 0u);
    EXPECT_NE(closing[0].message.find("mpout"), std::string::npos);

    std::string reports;
    for (int i = 0; i < 1500; ++i) reports += "mpout\r\n";
    const ScriptRun run = InterpretScript(reports, {}, true);
    ASSERT_EQ(run.account.problems.size(), 1u);
    EXPECT_GT(run.account.problems[0].line, 1u);
    EXPECT_EQ(run.account.problems[0].takenAs, LineKind::Report);
}

TEST(Account, LastReportIsTheModelAtTheLastReport) {
    const ScriptRun run = InterpretScript("mpout\r\n@@1 0 0 0", {}, true);
    EXPECT_DOUBLE_EQ(run.lastReport->LayerRows[0].UnitScores[0], 1.0);  // before the layer line
    EXPECT_DOUBLE_EQ(run.store.LayerRows[0].UnitScores[0], 0.0);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The README's tables list every code of account.hpp, in code order.
TEST(Account, ReadmeListsEveryCodeInOrder) {
    const std::filesystem::path root = std::filesystem::path(QUILLON_GOLDEN_DIR).parent_path().parent_path();
    const std::string codes = ReadFile(root / "script" / "include" / "script" / "account.hpp");
    const std::string readme = ReadFile(root / "README.md");
    std::vector<std::string> declared;
    for (std::size_t at = codes.find("= \"Q"); at != std::string::npos; at = codes.find("= \"Q", at + 1)) {
        declared.push_back(codes.substr(at + 3, 4));
    }
    ASSERT_GT(declared.size(), 30u);
    std::vector<std::string> rows;
    for (std::size_t at = readme.find("\n| Q"); at != std::string::npos; at = readme.find("\n| Q", at + 1)) {
        rows.push_back(readme.substr(at + 3, 4));
    }
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    for (const std::string& code : declared) EXPECT_NE(std::find(rows.begin(), rows.end(), code), rows.end()) << code;
}

TEST(Account, KeepingTheAccountNeverChangesTheReport) {
    std::vector<std::string> scripts;
    for (const auto& sample : BuiltInSamples) scripts.emplace_back(sample.text);
    for (const auto& entry : std::filesystem::directory_iterator(QUILLON_GOLDEN_DIR)) {
        if (entry.path().extension() == ".qs") scripts.push_back(codec::GbkToUtf8(ReadFile(entry.path())));
    }
    for (const auto& c : {"mpinit=5\n@@9 1\n$$4.9 1\n$$ VVX / 1\n MPOUT\n@@1\t1\t0\nmpout xyz"}) scripts.emplace_back(c);
    for (const std::string& script : scripts) {
        EXPECT_EQ(InterpretScript(script, {}, true).report, ScoreScript(script));
    }
}

}  // namespace
}  // namespace quillon::test
