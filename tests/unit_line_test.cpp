// Unit lines: one unit's score and tally record from its objects; count-form lines in a run.
#include <gtest/gtest.h>

#include "app/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

struct UnitLineCase {
    const char* name;
    const char* script;
    int layer, unit;
    double score;
    UnitTally tally;
};

class UnitLine : public ::testing::TestWithParam<UnitLineCase> {};

TEST_P(UnitLine, StoresScoreAndTally) {
    const auto& c = GetParam();
    const ScriptRun run = InterpretScript(std::string(c.script) + "\r\nmpout 0");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, c.layer, c.unit), c.score);
    EXPECT_EQ(run.store.UnitTallies[static_cast<unsigned>(c.layer - 1)][static_cast<unsigned>(c.unit - 1)], c.tally);
}

constexpr double kNoObject = 1307117.3166;

INSTANTIATE_TEST_SUITE_P(
    UnitLines, UnitLine,
    ::testing::Values(
        UnitLineCase{"level3_weights", "$$4.2  VVX  VVX*1.2  XXX  VVX*0.5", 4, 2, 3375 * 0.0001, {0, 3, 1, 0, 4, 337, -1, -1}},
        UnitLineCase{"level2", "mpinit=2  1\r\n$$4.2  vvx  VVV", 4, 2, 7500 * 0.0001, {1, 1, 0, 0, 2, 750, -1, -1}},
        UnitLineCase{"level4_not_applicable_object", "mpinit=4\r\n$$4.1   VXX  X--  ---  0.6", 4, 1, 2833 * 0.0001, {0, 2, 1, 1, 3, 283, -1, -1}},
        UnitLineCase{"level4_rounds_half_up", "mpinit=4\r\n$$4.2   VVV VVV  VXX*0.5", 4, 2, 7083 * 0.0001, {2, 1, 0, 0, 3, 708, -1, -1}},
        UnitLineCase{"level4_mixed_case", "mpinit=4\r\n$$4.3   vvv --- Vxx  xxx", 4, 3, 4167 * 0.0001, {1, 1, 1, 1, 3, 416, -1, -1}},
        UnitLineCase{"six_objects", "$$4.1 VVX VXX*0.5 VXX VXX VXX*1.2 0.3", 4, 1, 2875 * 0.0001, {0, 6, 0, 0, 6, 287, -1, -1}},
        UnitLineCase{"plain_number", "$$1.1   0.1111", 1, 1, 1111 * 0.0001, {0, 1, 0, 0, 1, 111, -1, -1}},
        UnitLineCase{"plain_number_rounded", "$$1.1   0.11116", 1, 1, 1112 * 0.0001, {0, 1, 0, 0, 1, 111, -1, -1}},
        UnitLineCase{"no_objects", "$$4.2", 4, 2, kNoObject, {0, 0, 0, 0, 0, 1307117316, -1, -1}},
        UnitLineCase{"not_applicable_only", "$$4.2 --- ---", 4, 2, kNoObject, {0, 0, 0, 2, 0, 1307117316, -1, -1}},
        UnitLineCase{"letters_after_unit_number", "$$4.2x 0.5", 4, 2, 0.5, {0, 1, 0, 0, 1, 500, -1, -1}},
        UnitLineCase{"tokens_read_in_part", "$$4.2 VVVXXX VVX0.5 0.5abc 0x10 1_0 vvv---", 4, 2, 6000 * 0.0001,
                     {2, 2, 1, 1, 5, 600, -1, -1}},
        UnitLineCase{"last_line_wins", "$$2.1 0.1\r\n$$2.1 0.2", 2, 1, 0.2, {0, 1, 0, 0, 1, 200, -1, -1}},
        UnitLineCase{"layer_line_overrides", "$$2.1 0.1\r\n@@2 0.9", 2, 1, 0.9, {0, 1, 0, 0, 1, 100, -1, -1}},
        UnitLineCase{"overrides_layer_line", "@@2 0.9\r\n$$2.1 0.1", 2, 1, 0.1, {0, 1, 0, 0, 1, 100, -1, -1}},
        UnitLineCase{"later_level_set_up_resets_tally", "$$2.1 0.1\r\nmpinit=3 0", 2, 1, 0.1, {-1, -1, -1, -1, -1, -1, -1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    const char* line;
};

class RefusedUnitLine : public ::testing::TestWithParam<RefusedCase> {};

// Nothing is stored: the run's final state equals the state without the line.
TEST_P(RefusedUnitLine, ChangesNothing) {
    const auto& c = GetParam();
    const ScriptRun with = InterpretScript(std::string("mpinit=1\r\n") + c.line + "\r\nmpout 0");
    const ScriptRun without = InterpretScript("mpinit=1\r\nmpout 0");
    EXPECT_EQ(with.report, without.report);
    for (int layer = 0; layer < 8; ++layer) {
        EXPECT_EQ(with.store.LayerRows[static_cast<unsigned>(layer)].UnitScores,
                  without.store.LayerRows[static_cast<unsigned>(layer)].UnitScores);
        EXPECT_EQ(with.store.UnitTallies[static_cast<unsigned>(layer)], without.store.UnitTallies[static_cast<unsigned>(layer)]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    UnitLines, RefusedUnitLine,
    ::testing::Values(RefusedCase{"beyond_unit_count", "$$1.4 1"},
                      RefusedCase{"not_assessed_at_level1", "$$1.3 1"},
                      RefusedCase{"layer_nine", "$$9.1 1"},
                      RefusedCase{"layer_zero", "$$0.1 1"},
                      RefusedCase{"unit_nine", "$$4.9 1"},
                      RefusedCase{"unit_zero", "$$4.0 1"},
                      RefusedCase{"no_point", "$$42 1"},
                      RefusedCase{"two_digit_layer", "$$10.1 1"},
                      RefusedCase{"short_command_word", "$$4. 1"},
                      RefusedCase{"negative_unit", "$$4.-1 1"},
                      RefusedCase{"unit_too_large_for_32_bits", "$$4.99999999999999999999 1"},
                      RefusedCase{"sign_for_layer", "$$+.1 1"},
                      RefusedCase{"letter_layer", "$$a.1 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UnitLines, LeadingZerosAndSignInUnitNumber) {
    const ScriptRun run = InterpretScript("$$4.02 0.5\r\n$$4.+3 0.25\r\nmpout 0");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 4, 2), 0.5);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 4, 3), 0.25);
}

TEST(UnitLines, LayerIsRetalliedOnlyByTheNextReportOrLayerLine) {
    const ScriptRun run = InterpretScript("mpout\r\n$$1.1 0");
    // The closing report is not made (there was an mpout), so layer 1 is still stale.
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 1), 0.0);
    EXPECT_DOUBLE_EQ(LayerScore(run.store, 1), 8250 * 0.0001);
}

TEST(UnitLines, NoObjectScoreMarksTheLayerAndLeavesTheTotal) {
    const std::string report = ScoreScript("$$8.1 ---\r\nmpout");
    EXPECT_EQ(LineStartingWith(report, "@@8"), "@@8应急处置     -3.000000 # 1307117.316600 0.700000 0.700000 ");
    EXPECT_NE(report.find("+ 19.6008( 24.0000) "), std::string::npos);
}

TEST(UnitLines, CountFormLinesAppendAtTheirPlaceAndStoreNothing) {
    const ScriptRun run = InterpretScript("mpecho a\r\n$$  VVX  VVX*1.2  XXX  VVX*0.5\r\nmpecho b\r\n$$ \r\nmpout 0");
    EXPECT_EQ(run.report.substr(0, run.report.find("@@1")),
              CrLf({"mpecho a",
                    "单元得分= 0.33750 (符合,部分符合,不符合,不适用)=( 0  3  1  0  0.33750)=> 4+若干不适用#0.500 0.600 0.000 0.250 ",
                    "mpecho b",
                    "单元得分= 1307117.31660 (符合,部分符合,不符合,不适用)=( 0  0  0  0 1307117.31660)=> 0+若干不适用#"}));
    EXPECT_EQ(run.report.substr(run.report.find("@@1")), ScoreScript("mpout 0"));
}

TEST(UnitLines, TraceShowsTheAddressAndTheStoredScore) {
    std::string trace;
    ScoreScript("$$4.2 VVX\r\n$$9.1 1\r\nmpinit=1\r\n$$1.3 1", [&](std::string_view line) { trace += line; });
    EXPECT_NE(trace.find("4.2  GET0\n4.2  GET1\n"), std::string::npos);
    EXPECT_NE(trace.find("\n$$ 返回4.2=0.500000   end!\n"), std::string::npos);
    EXPECT_NE(trace.find("RAW= 0.40000 L3_WW= 0.40000 前\nRAW= 0.50000 L3_WW= 0.40000 后\n"), std::string::npos);
    EXPECT_NE(trace.find("9.1  GET0\n-2.-2  GET1\n"), std::string::npos);
    EXPECT_NE(trace.find("错误 喽 l1 c1=1 3 \n"), std::string::npos);
}

TEST(UnitLines, Level3SampleScoresItsTotals) {
    const std::string report = ScoreScript(BuiltInSamples[2].text);
    EXPECT_NE(report.find("3级 密评总分=  62.280  62.2840 注意2位有效数字"), std::string::npos);
    // Report order: confirmation, report of "mpout3 ", report of the first "mpout3  30000",
    // the echo, the count-form line, the report of the last line; no closing report.
    const std::size_t echo = report.find("mpecho  输出注释1：  下面是 5.4 调整\r\n单元得分= 0.33750");
    EXPECT_NE(echo, std::string::npos);
    EXPECT_EQ(report.find("mpinit=3 1 处理完毕\r\n特别提示"), 0u);
    EXPECT_EQ(report.find("没有mpout"), std::string::npos);

    // The layer lines reported without layer rounding.
    const std::string sample(BuiltInSamples[2].text);
    const std::size_t firstReport = sample.find("mpout3  30000");
    const std::string unroundedLayers = ScoreScript(sample.substr(0, firstReport) + "mpout 10000\r\n");
    EXPECT_NE(unroundedLayers.find("3级 密评总分=  62.290  62.2853 注意2位有效数字"), std::string::npos);
}

TEST(UnitLines, IndustrialDemonstrationScoresCompletely) {
    const ScriptRun run = InterpretScript(BuiltInSamples[4].text);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 4, 1), 2833 * 0.0001);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 4, 2), 7083 * 0.0001);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 4, 3), 4167 * 0.0001);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 2, 4), 5748 * 0.0001);  // mean of 0.2244, 0.5 and 1
    EXPECT_EQ(LineStartingWith(run.report, "4级"), "4级 密评总分=  52.440  52.4352 注意2位有效数字");
}

}  // namespace
}  // namespace quillon::test
