// Layer lines: every unit of one layer at once, and the layer tally behind them.
#include <gtest/gtest.h>

#include "scoring/tally.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

struct LayerLineCase {
    const char* name;
    const char* script;
    int layer;
    double weightSum;
    double weightedSum;
    double countedUnits;
    double layerScore;  // before the report's rounding
};

class LayerLineTally : public ::testing::TestWithParam<LayerLineCase> {};

TEST_P(LayerLineTally, TalliesItsLayer) {
    const auto& c = GetParam();
    const ScriptRun run = InterpretScript(std::string(c.script) + "\r\nmpout 0");
    const LayerRow& row = run.store.LayerRows[static_cast<unsigned>(c.layer - 1)];
    EXPECT_NEAR(row.WeightSum, c.weightSum, 1e-12);
    EXPECT_NEAR(row.WeightedSum, c.weightedSum, 1e-12);
    EXPECT_EQ(row.CountedUnits, c.countedUnits);
    EXPECT_NEAR(row.LayerScore, c.layerScore, 5e-7);
}

INSTANTIATE_TEST_SUITE_P(
    LayerLines, LayerLineTally,
    ::testing::Values(
        LayerLineCase{"level4_layer4", "mpinit=4\r\n@@4  0.6667 1  - 0.25 1 0.25 1 1", 4, 6.7,
                      4.8667, 7, 0.726373},
        LayerLineCase{"level2_layer6_refused_unit", "mpinit=2  1\r\n@@6   0     0.5  0.5    1", 6,
                      3.1, 1.34, 4, 0.432258},
        LayerLineCase{"level3_layer2_command_word_notes", "@@2##5#  0.375 0.375 0.375 1  /", 2, 3.1,
                      1.4125, 4, 0.455645},
        LayerLineCase{"two_scores_third_kept", "@@1 1 0", 1, 2.4, 1.49, 3, 0.620833},
        LayerLineCase{"level2_layer3", "mpinit=2  1\r\n@@3   0.2   0.3  0.4    /  1", 3, 1.5, 0.7,
                      3, 0.466667},
        LayerLineCase{"scores_above_one_kept", "@@5 2 2 2 2 2 2", 5, 4.5, 9, 6, 2},
        LayerLineCase{"all_not_applicable", "@@1 - / \\", 1, 0, 0, 0, -1},
        LayerLineCase{"not_applicable_left_out", "@@8 - 0.5 0", 8, 1.4, 0.35, 2, 0.25},
        LayerLineCase{"no_object_score_marks_layer", "@@8 0.5 1307117.3166", 8, 2.4,
                      0.5 + 1307117.3166 * 0.7 + 0.49, 3, -3}),
    [](const auto& info) { return std::string(info.param.name); });

struct WordCase {
    const char* name;
    const char* line;
    double unit1, unit2, unit3;  // layer 1 afterwards, level 3
};

class LayerLineWords : public ::testing::TestWithParam<WordCase> {};

TEST_P(LayerLineWords, SetUnits) {
    const auto& c = GetParam();
    const ScriptRun run = InterpretScript(c.line);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 1), c.unit1);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 2), c.unit2);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 3), c.unit3);
}

INSTANTIATE_TEST_SUITE_P(
    LayerLines, LayerLineWords,
    ::testing::Values(WordCase{"keep_marks", "@@1 * * 0.5", 1, 0.7, 0.5},
                      WordCase{"negative_number_is_not_applicable", "@@1 -0.5", -1, 0.7, 0.7},
                      WordCase{"backslash_and_slash", "@@1 \\ /x 1", -1, -1, 1},
                      WordCase{"not_a_number_unchanged", "@@1 abc", 1, 0.7, 0.7},
                      WordCase{"leading_point", "@@1 .5", 0.5, 0.7, 0.7},
                      WordCase{"exponent", "@@1 1e-1", 0.1, 0.7, 0.7},
                      WordCase{"trailing_letters", "@@1 0.5abc", 0.5, 0.7, 0.7},
                      WordCase{"plus_sign", "@@1 +0.25", 0.25, 0.7, 0.7},
                      WordCase{"hex_reads_zero", "@@1 0x1", 0, 0.7, 0.7},
                      WordCase{"first_byte_decides", "@@1 0_5 *0.5 /0.5", 0, 0.7, -1},
                      WordCase{"inf_and_nan_are_no_numbers", "@@1 inf nan 1e400", 1, 0.7, 0.7},
                      WordCase{"digits_after_layer_are_command_word", "@@11 0", 0, 0.7, 0.7},
                      WordCase{"extra_words_ignored", "@@1 0 0 0 0 0 0 0 0 0 0", 0, 0, 0},
                      WordCase{"many_blanks", "@@1      0.1       0.2", 0.1, 0.2, 0.7},
                      WordCase{"layer_nine_ignored", "@@9 0 0 0", 1, 0.7, 0.7},
                      WordCase{"layer_zero_ignored", "@@0 0 0 0", 1, 0.7, 0.7},
                      WordCase{"blank_after_sigil_ignored", "@@ 1 0 0 0", 1, 0.7, 0.7},
                      WordCase{"later_line_overrides_word_by_word", "@@1 0 0 0\r\n@@1 * 1", 0, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LayerLines, LongWordsAreCutTo199Bytes) {
    // 199 bytes of the word are read: the digit at byte 200 is not part of the number.
    const std::string word = "0." + std::string(196, '0') + "1" + "9";
    const ScriptRun run = InterpretScript("@@1 " + word + "\r\nmpout 0");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 1), 1e-197);
}

TEST(LayerLines, UnitsTheLevelDoesNotAssessAreRefused) {
    std::string trace;
    const ScriptRun run = InterpretScript("mpinit=1\r\n@@1 0.5 0.5 0.5",
                                          [&](std::string_view line) { trace += line; });
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 3), -8.0);
    EXPECT_NE(trace.find("疑似您输入的单元   不是 2级密评系统必须系统\n"), std::string::npos);
}

TEST(LayerLines, OnlyTheLayerLineRetalliesItsLayer) {
    ScoreStore store = InterpretScript("").store;
    store.LayerRows[1].UnitScores[0] = 0;  // changed behind the tally's back
    const Diagnostics none;
    TallyLayer(store, 0, none);
    EXPECT_DOUBLE_EQ(LayerScore(store, 2), 8029 * 0.0001);  // as the report rounded it
    TallyLayer(store, 1, none);
    EXPECT_NEAR(LayerScore(store, 2), 1.81 / 3.5, 1e-12);
}

TEST(LayerLines, TallyCountsNotEnteredUnitsEvenWhenNotCounted) {
    ScoreStore store = InterpretScript("mpinit=3 2").store;
    store.NotEnteredCount = 0;
    TallyLayer(store, 3, Diagnostics{});
    EXPECT_EQ(store.NotEnteredCount, 8);
    EXPECT_DOUBLE_EQ(LayerScore(store, 4), -1.0);
}

TEST(LayerLines, SamplesGiveTheirRecordedLayerScores) {
    const double level4[] = {0.645833, 0.536003, 0.380114, 0.726373, 1, 1, 0.613636, 1};
    const double level2[] = {0.636364, 0.355556, 0.466667, 0.815385, 0.854167, 0.432258, 0.666667, 1};
    const ScriptRun four = InterpretScript(
        "mpinit=4\r\n@@1  0.5  1 0.5\r\n@@2  0.5833 0.5833 0.5833 0.3333 /\r\n"
        "@@3  0.4  0.3125 0.4 /  0.4 0.4\r\n@@4  0.6667 1  - 0.25 1 0.25 1 1\r\n"
        "@@5  1 1 1 1 1 1\r\n@@6  1 1 1 1 1\r\n@@7  1 1 0.5  0  0.5\r\n@@8  1 1 1\r\nmpout 0");
    const ScriptRun two = InterpretScript(
        "mpinit=2  1\r\n@@1   1 0\r\n@@2   0.5   0.2  0.3    /\r\n@@3   0.2   0.3  0.4    /  1\r\n"
        "@@4   0.5   0.6  1  1   1  0.8 0.9\r\n@@5   1     0.5  1\r\n@@6   0     0.5  0.5    1\r\n"
        "@@7   0.5   0.5  /      1\r\n@@8   1\r\nmpout 0");
    for (int layer = 1; layer <= 8; ++layer) {
        EXPECT_NEAR(LayerScore(four.store, layer), level4[layer - 1], 5e-7) << "level 4, layer " << layer;
        EXPECT_NEAR(LayerScore(two.store, layer), level2[layer - 1], 5e-7) << "level 2, layer " << layer;
    }
}

}  // namespace
}  // namespace quillon::test
