// Object verdicts, weights, expressions and the count form built on them.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "scoring/count_form.hpp"
#include "scoring/objects.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

struct TokenCase {
    const char* name;
    const char* token;
    bool counted;
    double score;  // when counted: the slot keeps NoObjectMark otherwise
    int compliant, partly, nonCompliant, notApplicable;
    PartRead part = PartRead::Whole;  // how much of the token the scan read, the score staying as it was
    const char* read = "";            // the part read (MaxRest: the part ignored)
};

class SingleToken : public ::testing::TestWithParam<TokenCase> {};

TEST_P(SingleToken, ScoresTalliesAndWhatWasRead) {
    const auto& c = GetParam();
    ObjectTable table;
    EXPECT_EQ(ScoreObjects(table, c.token), c.counted ? 1 : 0);
    EXPECT_DOUBLE_EQ(table.ObjectScores[0], c.counted ? c.score : NoObjectMark);
    EXPECT_EQ(table.Compliant, c.compliant);
    EXPECT_EQ(table.PartlyCompliant, c.partly);
    EXPECT_EQ(table.NonCompliant, c.nonCompliant);
    EXPECT_EQ(table.NotApplicable, c.notApplicable);
    const bool partly = (table.PartlyRead & 1u) != 0;
    EXPECT_EQ(partly, c.part != PartRead::Whole);
    if (!partly) return;
    EXPECT_EQ(table.ReadParts[0].kind, c.part);
    EXPECT_EQ(std::string_view(c.token).substr(table.ReadParts[0].start, table.ReadParts[0].length), c.read);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, SingleToken,
    ::testing::Values(
        TokenCase{"vvv", "VVV", true, 1.0, 1, 0, 0, 0},
        TokenCase{"vvx", "VVX", true, 0.5, 0, 1, 0, 0},
        TokenCase{"vxv", "VXV", true, 0.5, 0, 1, 0, 0},
        TokenCase{"vxx", "VXX", true, 0.25, 0, 1, 0, 0},
        TokenCase{"xxx", "XXX", true, 0.0, 0, 0, 1, 0},
        TokenCase{"x_dash_dash", "X--", true, 0.0, 0, 0, 1, 0},
        TokenCase{"backslash_dash_dash", "\\--", true, 0.0, 0, 0, 1, 0},
        TokenCase{"not_applicable", "---", false, 0, 0, 0, 0, 1},
        TokenCase{"not_applicable_inside", "x---", false, 0, 0, 0, 0, 1, PartRead::Code, "---"},
        TokenCase{"weight_1_2", "VVX*1.2", true, 0.6, 0, 1, 0, 0},
        TokenCase{"weight_12", "VVX*12", true, 0.6, 0, 1, 0, 0},
        TokenCase{"weight_1_5", "VVX*1.5", true, 0.75, 0, 1, 0, 0},
        TokenCase{"weight_15", "VVX*15", true, 0.75, 0, 1, 0, 0},
        TokenCase{"weight_0_5", "VXX*0.5", true, 0.125, 0, 1, 0, 0},
        TokenCase{"weight_5", "VXX*5", true, 0.125, 0, 1, 0, 0},
        TokenCase{"weight_0_2", "VVX*0.2", true, 0.1, 0, 1, 0, 0},
        TokenCase{"weight_2", "VVX*2", true, 0.1, 0, 1, 0, 0},
        TokenCase{"weight_0_25_reads_0_2", "VVX*0.25", true, 0.1, 0, 1, 0, 0},
        TokenCase{"suffixes_in_test_order", "VVX*0.5*1.2", true, 0.3, 0, 1, 0, 0},
        TokenCase{"suffixes_in_test_order_too", "VVX*1.2*0.5", true, 0.3, 0, 1, 0, 0},
        TokenCase{"one_five_wins_over_one_two", "VVX*1.2*1.5", true, 0.75, 0, 1, 0, 0},
        TokenCase{"other_suffix_ignored", "VVX*3", true, 0.5, 0, 1, 0, 0},
        TokenCase{"full_marks_not_weighted", "VVV*0.5", true, 1.0, 1, 0, 0, 0},
        TokenCase{"number", "0.3", true, 0.3, 0, 1, 0, 0},
        TokenCase{"one", "1", true, 1.0, 1, 0, 0, 0},
        TokenCase{"weighted_number", "0.8*0.5", true, 0.4, 0, 1, 0, 0},
        TokenCase{"number_at_full_marks_kept", "1.5*0.5", true, 1.5, 1, 0, 0, 0},
        TokenCase{"not_capped", "0.7*1.5", true, 0.7 * 1.5, 1, 0, 0, 0},
        TokenCase{"first_code_is_read", "vvvx", true, 1.0, 1, 0, 0, 0, PartRead::Code, "vvv"},
        TokenCase{"first_code_is_read_too", "vxxx", true, 0.25, 0, 1, 0, 0, PartRead::Code, "vxx"},
        TokenCase{"case_folding", "Vxx", true, 0.25, 0, 1, 0, 0},
        TokenCase{"small_negative_counts", "-0.05", true, -0.05, 0, 0, 1, 0},
        TokenCase{"exactly_0_99_in_no_tally", "0.99", true, 0.99, 0, 0, 0, 0},
        TokenCase{"exactly_0_01_in_no_tally", "0.01", true, 0.01, 0, 0, 0, 0},
        TokenCase{"max_expression", "max(1.0*0.5,0.6)", true, 0.6, 0, 1, 0, 0},
        TokenCase{"max_first_larger", "max(0.9,0.6)", true, 0.9, 0, 1, 0, 0},
        TokenCase{"max_of_ones_is_partly", "max(1,1)", true, 1.0, 0, 1, 0, 0},
        TokenCase{"max_capital_x_folds", "maX(0.2,0.3)", true, 0.3, 0, 1, 0, 0},
        TokenCase{"max_ignores_weight_suffix", "max(0.4,0.2)*0.5", true, 0.4, 0, 1, 0, 0, PartRead::MaxRest, "*0.5"},
        TokenCase{"max_unclosed_ignored", "max(0.5", false, 0, 0, 0, 0, 0},
        TokenCase{"max_of_verdicts_ignored", "max(vvx,vxx)", false, 0, 0, 0, 0, 0},
        TokenCase{"max_one_argument", "max(0.4,)", true, 0.4, 0, 1, 0, 0},
        TokenCase{"capital_max_is_no_expression", "MAX(1,2)", false, 0, 0, 0, 0, 0},
        TokenCase{"slash_stops", "/", false, 0, 0, 0, 0, 0},
        TokenCase{"unknown_code_stops", "XVV", false, 0, 0, 0, 0, 0},
        TokenCase{"chinese_around_letters_is_no_code", "廣VX", false, 0, 0, 0, 0, 0},
        TokenCase{"inf_is_no_number", "inf", false, 0, 0, 0, 0, 0},
        TokenCase{"nan_is_no_number", "nan", false, 0, 0, 0, 0, 0},
        TokenCase{"overflow_is_no_number", "1e400", false, 0, 0, 0, 0, 0},
        // Whole or in part: the part not read is told, never scored.
        TokenCase{"code_weighted", "vXx*0.5*1.2", true, 0.15, 0, 1, 0, 0},
        TokenCase{"two_codes", "VVVXXX", true, 1, 1, 0, 0, 0, PartRead::Code, "VVV"},
        TokenCase{"code_and_letter", "VVVX", true, 1, 1, 0, 0, 0, PartRead::Code, "VVV"},
        TokenCase{"code_and_number", "VVX0.5", true, 0.5, 0, 1, 0, 0, PartRead::Code, "VVX"},
        TokenCase{"number_and_code", "0.5vxx", true, 0.25, 0, 1, 0, 0, PartRead::Code, "vxx"},
        TokenCase{"code_after_a_remark", "备VVX", true, 0.5, 0, 1, 0, 0, PartRead::Code, "VVX"},
        TokenCase{"code_in_the_suffix", "VVX*VVV", true, 1, 1, 0, 0, 0, PartRead::Code, "VVV"},
        TokenCase{"not_applicable_after_a_code", "VVV---", false, 0, 0, 0, 0, 1, PartRead::Code, "---"},
        TokenCase{"dashes_only", "----", false, 0, 0, 0, 0, 1},
        TokenCase{"half", "0.5", true, 0.5, 0, 1, 0, 0},
        TokenCase{"exponent", "5e-1", true, 0.5, 0, 1, 0, 0},
        TokenCase{"trailing_letters", "0.5abc", true, 0.5, 0, 1, 0, 0, PartRead::Number, "0.5"},
        TokenCase{"hexadecimal", "0x10", true, 0, 0, 0, 1, 0, PartRead::Number, "0"},
        TokenCase{"underscore", "1_0", true, 1, 1, 0, 0, 0, PartRead::Number, "1"},
        TokenCase{"exponent_without_digits", "1e", true, 1, 1, 0, 0, 0, PartRead::Number, "1"},
        TokenCase{"two_points", "0.5.1", true, 0.5, 0, 1, 0, 0, PartRead::Number, "0.5"},
        TokenCase{"percent", "50%", true, 50, 1, 0, 0, 0, PartRead::Number, "50"},
        TokenCase{"before_a_weight", "0.5abc*0.5", true, 0.25, 0, 1, 0, 0, PartRead::Number, "0.5"},
        TokenCase{"max_argument_letters", "max(0.5abc,0.6)", true, 0.6, 0, 1, 0, 0, PartRead::MaxArgument, "0.5"},
        TokenCase{"max_argument_weight", "max(0.5*0.2,0.2)", true, 0.5, 0, 1, 0, 0, PartRead::MaxArgument, "0.5"},
        TokenCase{"max_argument_no_number", "max(abc,0.5)", true, 0.5, 0, 1, 0, 0, PartRead::MaxArgument, ""},
        TokenCase{"max_third_argument", "max(0.1,0.2,0.9)", true, 0.2, 0, 1, 0, 0, PartRead::MaxRest, "0.9"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    const char* name;
    const char* objects;
    std::vector<double> scores;  // of the counted objects, in order
    int compliant, partly, nonCompliant, notApplicable;
    double sum;
};

class ObjectList : public ::testing::TestWithParam<LineCase> {};

TEST_P(ObjectList, ScoresEveryCountedObject) {
    const auto& c = GetParam();
    ObjectTable table;
    EXPECT_EQ(ScoreObjects(table, c.objects), static_cast<int>(c.scores.size()));
    std::vector<double> counted;
    for (int slot = 0; slot < kObjectSlots; ++slot) {
        if (table.Counted[static_cast<unsigned>(slot)]) counted.push_back(table.ObjectScores[static_cast<unsigned>(slot)]);
    }
    ASSERT_EQ(counted.size(), c.scores.size());
    for (std::size_t i = 0; i < counted.size(); ++i) EXPECT_DOUBLE_EQ(counted[i], c.scores[i]) << i;
    EXPECT_EQ(table.Compliant, c.compliant);
    EXPECT_EQ(table.PartlyCompliant, c.partly);
    EXPECT_EQ(table.NonCompliant, c.nonCompliant);
    EXPECT_EQ(table.NotApplicable, c.notApplicable);
    EXPECT_NEAR(table.ScoreSum, c.sum, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, ObjectList,
    ::testing::Values(
        LineCase{"weights", "VVX  VVX*1.2  XXX  VVX*0.5", {0.5, 0.6, 0.0, 0.25}, 0, 3, 1, 0, 1.35},
        LineCase{"six_partly", "VVX VXX*0.5 VXX VXX VXX*1.2 0.3", {0.5, 0.125, 0.25, 0.25, 0.3, 0.3}, 0, 6, 0, 0, 1.725},
        LineCase{"not_applicable_skipped", "VXX  X--  ---  0.6", {0.25, 0.0, 0.6}, 0, 2, 1, 1, 0.85},
        LineCase{"mixed_case", "vvv --- Vxx  xxx", {1.0, 0.25, 0.0}, 1, 1, 1, 1, 1.25},
        LineCase{"slash_stops_the_list", "VVX / 0.5", {0.5}, 0, 1, 0, 0, 0.5},
        LineCase{"boundaries_in_no_tally", "0.7*1.5 1 0.99 0.01", {1.05, 1.0, 0.99, 0.01}, 2, 0, 0, 0, 3.05},
        LineCase{"minus_one_half_stops", "VVV -0.5 VVV", {1.0}, 1, 0, 0, 0, 1.0},
        LineCase{"ignored_max_does_not_stop", "max(0.5 VVV", {1.0}, 1, 0, 0, 0, 1.0},
        LineCase{"remark_ends_the_list", "VVX VVV 备注", {0.5, 1.0}, 1, 1, 0, 0, 1.5},
        LineCase{"only_sixteen_tokens",
                 "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 0 0", std::vector<double>(16, 1.0), 16, 0, 0, 0, 16},
        LineCase{"empty", "", {}, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A run scores line after line in one table, which remembers short tokens' outcomes: every
// line must come out as it does in a fresh table, whatever came before it.
TEST(Objects, AWornTableScoresAsAFreshOne) {
    const std::vector<std::string> vocabulary = {
        "VVX", "vvx", "VXX*0.5", "VXX*5", "VVV*1.2", "XXX", "---", "x---", "0.6", "0.61", "0.6abc", "1", "/",
        "-0.5", "VVX*1.2*0.5", "VVX*3", "VVXVVV", "max(1.0*0.5,0.6)", "max(1.0*0.5,0.61)", "max(0.5abc,0.6)",
        "max(0.1,0.2,0.9)", "max(0.5", "MAX(0.5,1)", "12345678", "123456789", "1234567890123456",
        "12345678901234567", "0.000000000000001", "VVX*1.25", "备注", "0.5*0.5", "1e-3", "\\--"};
    // More tokens than the table remembers that differ only in their first eight bytes, or only
    // in the next eight: some must meet in one place of it.
    std::vector<std::string> tokens = vocabulary;
    for (int n = 10; n < 90; ++n) {
        tokens.push_back("0." + std::to_string(n));
        tokens.push_back("max(0.1,0." + std::to_string(n) + ")");
    }
    std::mt19937 random(7);
    ObjectTable worn;
    for (int line = 0; line < 3000; ++line) {
        std::string objects;
        for (int i = 0, n = 1 + static_cast<int>(random() % 18); i < n; ++i) {
            objects += std::string(1 + random() % 2, ' ') + tokens[random() % tokens.size()];
        }
        ObjectTable fresh;
        ASSERT_EQ(ScoreObjects(worn, objects), ScoreObjects(fresh, objects)) << objects;
        ASSERT_EQ(worn.TokenCount, fresh.TokenCount);
        for (unsigned k = 0; k < kObjectSlots; ++k) {
            const bool filled = static_cast<int>(k) < fresh.TokenCount;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(worn.ObjectScores[k]), std::bit_cast<std::uint64_t>(fresh.ObjectScores[k]))
                << objects << " slot " << k;
            ASSERT_EQ(worn.Counted[k], fresh.Counted[k]);
            if (filled) {
                ASSERT_EQ(worn.TokenText[k].view(), fresh.TokenText[k].view());
            }
            if (filled && (fresh.Suffixed >> k & 1u) != 0) {
                ASSERT_EQ(worn.ExactWeights[k], fresh.ExactWeights[k]);
            }
            if ((fresh.PartlyRead >> k & 1u) != 0) {
                const TokenPart a = worn.ReadParts[k], b = fresh.ReadParts[k];
                ASSERT_EQ(std::tie(a.kind, a.start, a.length, a.wordStart, a.wordEnd),
                          std::tie(b.kind, b.start, b.length, b.wordStart, b.wordEnd)) << objects << " slot " << k;
            }
        }
        ASSERT_EQ(std::tie(worn.CountedObjects, worn.NotApplicable, worn.Compliant, worn.PartlyCompliant, worn.NonCompliant,
                           worn.StopSlot, worn.StopAtNumber, worn.TokensBeyondLimit, worn.IgnoredMax, worn.CutTokens,
                           worn.UnknownWeights, worn.Suffixed, worn.PartlyRead),
                  std::tie(fresh.CountedObjects, fresh.NotApplicable, fresh.Compliant, fresh.PartlyCompliant,
                           fresh.NonCompliant, fresh.StopSlot, fresh.StopAtNumber, fresh.TokensBeyondLimit, fresh.IgnoredMax,
                           fresh.CutTokens, fresh.UnknownWeights, fresh.Suffixed, fresh.PartlyRead))
            << objects;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(worn.ScoreSum), std::bit_cast<std::uint64_t>(fresh.ScoreSum)) << objects;
    }
}

TEST(Objects, WeightSuffixesReadByTheirStart) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"1.2", "1.2"}, {"12", "1.2"}, {"1.25", "1.2"}, {"15", "1.5"}, {"2", "0.2"}, {"0.25", "0.2"},
        {"25", "0.2"},  {"5", "0.5"},  {"50", "0.5"},   {"0.5x", "0.5"}, {"3", ""},  {"", ""}, {"0.3", ""}};
    for (const auto& [suffix, weight] : cases) EXPECT_EQ(WeightReadAs(suffix), weight) << suffix;
    EXPECT_TRUE(IsWeightSuffix("12"));
    EXPECT_FALSE(IsWeightSuffix("1.25"));
}

TEST(Objects, LongTokensAreCutTo63BytesBeforeAnyTest) {
    ObjectTable table;
    // The code sits at bytes 62 to 64: cut at 63 only "vv" remains, no code, no number.
    EXPECT_EQ(ScoreObjects(table, std::string(61, 'a') + "VVX"), 0);
    EXPECT_EQ(ScoreObjects(table, std::string(60, 'a') + "VVX"), 1);
    EXPECT_DOUBLE_EQ(table.ObjectScores[0], 0.5);
    // A cut token does not spill into its neighbour.
    EXPECT_EQ(ScoreObjects(table, "0." + std::string(70, '1') + " VVV"), 2);
    EXPECT_DOUBLE_EQ(table.ObjectScores[1], 1.0);
}

TEST(Objects, EvaluateMaxResults) {
    std::array<double, 3> results{};
    EXPECT_EQ(EvaluateMax("max(1.0*0.5,0.6)", results), 1);
    EXPECT_EQ(results, (std::array<double, 3>{0.6, 0.5, 0.6}));
    EXPECT_EQ(EvaluateMax("max(0.7)", results), 0);
    EXPECT_EQ(results, (std::array<double, 3>{-3.0, -3.0, -3.0}));
    EXPECT_EQ(EvaluateMax("max(a,b)", results), 1);
    EXPECT_EQ(results, (std::array<double, 3>{-1.0, -1.0, -1.0}));
    EXPECT_EQ(EvaluateMax("max(,)", results), 1);
    EXPECT_EQ(results, (std::array<double, 3>{-1.0, -1.0, -1.0}));
}

struct CountFormCase {
    const char* name;
    const char* objects;
    const char* line;
    UnitTally tally;
};

class CountForm : public ::testing::TestWithParam<CountFormCase> {};

TEST_P(CountForm, ResultLineAndTallyRecord) {
    const auto& c = GetParam();
    ObjectTable table;
    ReportText report;
    UnitTally tally{};
    tally.fill(-1);
    std::string text;
    CountFormScore(table, c.objects, &tally, &report, &text);
    EXPECT_EQ(report.text(), std::string(c.line) + "\r\n");
    EXPECT_EQ(text, c.line);
    EXPECT_EQ(tally, c.tally);
}

INSTANTIATE_TEST_SUITE_P(
    Objects, CountForm,
    ::testing::Values(
        CountFormCase{"four_objects", "  VVX  VVX*1.2  XXX  VVX*0.5",
                      "单元得分= 0.33750 (符合,部分符合,不符合,不适用)=( 0  3  1  0  0.33750)=> 4+若干不适用#0.500 0.600 0.000 0.250 ",
                      {0, 3, 1, 0, 4, 337, -1, -1}},
        CountFormCase{"six_objects", "VVX VXX*0.5 VXX VXX VXX*1.2 0.3",
                      "单元得分= 0.28750 (符合,部分符合,不符合,不适用)=( 0  6  0  0  0.28750)=> 6+若干不适用#0.500 0.125 0.250 0.250 0.300 0.300 ",
                      {0, 6, 0, 0, 6, 287, -1, -1}},
        CountFormCase{"mean_and_rounded_differ", "VXX  X--  ---  0.6",
                      "单元得分= 0.28333 (符合,部分符合,不符合,不适用)=( 0  2  1  1  0.28330)=> 3+若干不适用#0.250 0.000 0.600 ",
                      {0, 2, 1, 1, 3, 283, -1, -1}},
        CountFormCase{"no_object", "---",
                      "单元得分= 1307117.31660 (符合,部分符合,不符合,不适用)=( 0  0  0  1 1307117.31660)=> 0+若干不适用#",
                      {0, 0, 0, 1, 0, 1307117316, -1, -1}},
        CountFormCase{"nothing_at_all", "",
                      "单元得分= 1307117.31660 (符合,部分符合,不符合,不适用)=( 0  0  0  0 1307117.31660)=> 0+若干不适用#",
                      {0, 0, 0, 0, 0, 1307117316, -1, -1}},
        CountFormCase{"tallies_need_not_add_up", "0.99 0.01",
                      "单元得分= 0.50000 (符合,部分符合,不符合,不适用)=( 0  0  0  0  0.50000)=> 2+若干不适用#0.990 0.010 ",
                      {0, 0, 0, 0, 2, 500, -1, -1}},
        CountFormCase{"negative_mean_rounds_toward_zero", "-0.05",
                      "单元得分= -0.05000 (符合,部分符合,不符合,不适用)=( 0  0  1  0 -0.04990)=> 1+若干不适用#-0.050 ",
                      {0, 0, 1, 0, 1, -49, -1, -1}},
        CountFormCase{"half_up", "VVV VVV  VXX*0.5",
                      "单元得分= 0.70833 (符合,部分符合,不符合,不适用)=( 2  1  0  0  0.70830)=> 3+若干不适用#1.000 1.000 0.125 ",
                      {2, 1, 0, 0, 3, 708, -1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Objects, HugeScoresGiveAWholeResultLine) {
    ObjectTable table;
    ReportText report;
    UnitTally tally{};
    CountFormScore(table, "1e300 1e300", &tally, &report, nullptr);
    const std::string& line = report.text();
    // Every digit of 1e300 in the mean, the rounded score (left unrounded) and both objects.
    EXPECT_GT(line.size(), 4 * 300u);
    EXPECT_EQ(line.find("单元得分= 1000000"), 0u);
    EXPECT_NE(line.find(".00000 (符合,部分符合,不符合,不适用)=( 2  0  0  0 1000000"), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 7), ".000 \r\n");
    EXPECT_EQ(tally[4], 2);
    EXPECT_EQ(tally[5], INT32_MAX);  // thousandths saturate
}

}  // namespace
}  // namespace quillon::test
