// The score report: layer lines, summary, totals, compliance counts, rounding and table 5-2.
#include <gtest/gtest.h>

#include "app/report_exports.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

TEST(Report, OneLineMpoutReportsTheLevel3StartUpState) {
    EXPECT_EQ(ScoreScript("mpout"), Level3DefaultLayerLines() + Level3DefaultSummary());
}

TEST(Report, EmptyScriptGivesTheDefaultReportWithTableAndNotice) {
    const std::string expected =
        Level3DefaultLayerLines() + Level3DefaultSummary() +
        CrLf({
            "《商用密码应用安全性评估报告》表 5-2 整体测评结果的得分",
            "层面           单元序号->   单元得分 层面得分",
            "@@1物理和环境         1->   1.00000  0.82500 ",
            "@@1物理和环境         2->   0.70000        ",
            "@@1物理和环境         3->   0.70000        ",
            "@@2网路和设备         1->   1.00000  0.80290 ",
            "@@2网路和设备         2->   0.70000        ",
            "@@2网路和设备         3->   1.00000        ",
            "@@2网路和设备         4->   0.40000        ",
            "@@2网路和设备         5->   0.40000        ",
            "@@3设备和计算         1->   1.00000  0.76150 ",
            "@@3设备和计算         2->   1.00000        ",
            "@@3设备和计算         3->   0.40000        ",
            "@@3设备和计算         4->   0.40000        ",
            "@@3设备和计算         5->   0.40000        ",
            "@@3设备和计算         6->   0.70000        ",
            "@@4应用和数据         1->   1.00000  0.85480 ",
            "@@4应用和数据         2->   0.40000        ",
            "@@4应用和数据         3->   0.40000        ",
            "@@4应用和数据         4->   1.00000        ",
            "@@4应用和数据         5->   1.00000        ",
            "@@4应用和数据         6->   0.70000        ",
            "@@4应用和数据         7->   0.70000        ",
            "@@4应用和数据         8->   1.00000        ",
            "@@5管理制度           1->   1.00000  0.76670 ",
            "@@5管理制度           2->   0.70000        ",
            "@@5管理制度           3->   0.70000        ",
            "@@5管理制度           4->   0.70000        ",
            "@@5管理制度           5->   0.70000        ",
            "@@5管理制度           6->   0.70000        ",
            "@@6人员管理           1->   0.70000  0.77890 ",
            "@@6人员管理           2->   1.00000        ",
            "@@6人员管理           3->   0.70000        ",
            "@@6人员管理           4->   0.70000        ",
            "@@6人员管理           5->   0.70000        ",
            "@@7建设运行           1->   1.00000  0.90450 ",
            "@@7建设运行           2->   1.00000        ",
            "@@7建设运行           3->   0.70000        ",
            "@@7建设运行           4->   1.00000        ",
            "@@7建设运行           5->   0.70000        ",
            "@@8应急处置           1->   1.00000  0.82500 ",
            "@@8应急处置           2->   0.70000        ",
            "@@8应急处置           3->   0.70000        ",
            "*** 密评总分=  82.120 ",
        }) +
        std::string(kClosingNotice);
    EXPECT_EQ(ScoreScript(""), expected);
    EXPECT_EQ(ScoreScript("只有注释\r\n   mpout\r\nMPOUT\r\n"), expected);
}

TEST(Report, StoreHoldsTheTotalsOfTheLastReport) {
    const ScriptRun run = InterpretScript("mpout");
    EXPECT_NEAR(run.store.TotalScore, 82.1178, 1e-12);
    EXPECT_DOUBLE_EQ(run.store.TechWeightSum, 70);
    EXPECT_DOUBLE_EQ(run.store.MgmtWeightSum, 30);
    EXPECT_EQ(run.store.NonCompliantCount, 0);
    EXPECT_EQ(run.store.PartlyCompliantCount, 26);
    EXPECT_EQ(run.store.CompliantCount, 15);
}

TEST(Report, UnroundedLayerScoresUnderFlag100AndTableFollows) {
    const std::string report = ScoreScript("mpout 100");
    EXPECT_EQ(LineStartingWith(report, "@@2网"),
              "@@2网路和设备   0.802857 # 1.000000 0.700000 1.000000 0.400000 0.400000 ");
    EXPECT_NE(report.find("《商用密码应用安全性评估报告》"), std::string::npos);
    EXPECT_EQ(LineStartingWith(report, "*** "), "*** 密评总分=  82.120 ");
}

TEST(Report, FlagZeroNeitherRoundsNorPrintsTheTable) {
    const std::string report = ScoreScript("@@1 0.123456789\r\nmpout 0");
    EXPECT_EQ(LineStartingWith(report, "@@1"), "@@1物理和环境   0.459774 # 0.123457 0.700000 0.700000 ");
    EXPECT_EQ(report.find("《"), std::string::npos);
}

TEST(Report, RoundingStaysInTheStoreForLaterReports) {
    const ScriptRun run = InterpretScript("@@1 0.123456789\r\nmpout 10000\r\nmpout 0");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 1), 1235 * 0.0001);
    EXPECT_EQ(LineStartingWith(run.report.substr(run.report.find("3级")), "@@1"),
              "@@1物理和环境   0.459792 # 0.123500 0.700000 0.700000 ");
}

struct ComplianceCase {
    const char* name;
    const char* flags;
    const char* score;
    int nonCompliant, partly, compliant;
};

class ComplianceBoundary : public ::testing::TestWithParam<ComplianceCase> {};

// Unit 8.1 gets the score; units 8.2 and 8.3 are not applicable, so only 8.1 is counted in
// layer 8, on top of the other layers' start-up counts (0 / 24 / 14 without layer 8).
TEST_P(ComplianceBoundary, CountsUnit) {
    const auto& c = GetParam();
    const ScriptRun run =
        InterpretScript(std::string("@@8 ") + c.score + " - -\r\nmpout " + c.flags);
    EXPECT_EQ(run.store.NonCompliantCount, c.nonCompliant);
    EXPECT_EQ(run.store.PartlyCompliantCount - 24, c.partly);
    EXPECT_EQ(run.store.CompliantCount - 14, c.compliant);
}

INSTANTIATE_TEST_SUITE_P(
    Report, ComplianceBoundary,
    ::testing::Values(ComplianceCase{"unrounded_099999_compliant", "0", "0.99999", 0, 0, 1},
                      ComplianceCase{"unrounded_099998_partly", "0", "0.99998", 0, 1, 0},
                      ComplianceCase{"unrounded_00001_partly", "0", "0.0001", 0, 1, 0},
                      ComplianceCase{"unrounded_000009_non_compliant", "0", "0.00009", 1, 0, 0},
                      ComplianceCase{"unrounded_10001_in_no_count", "0", "1.0001", 0, 0, 0},
                      ComplianceCase{"rounded_099996_compliant", "10000", "0.99996", 0, 0, 1},
                      ComplianceCase{"rounded_099994_partly", "10000", "0.99994", 0, 1, 0},
                      ComplianceCase{"rounded_000006_partly", "10000", "0.00006", 0, 1, 0},
                      ComplianceCase{"rounded_000004_non_compliant", "10000", "0.00004", 1, 0, 0},
                      ComplianceCase{"negative_counted_in_none", "0", "-0.0001", 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Report, LevelSwitchNoticeAndLevel2Markers) {
    const std::string report = ScoreScript("mpinit=2\r\nmpout3\r\nmpout2\r\nmpout1");
    EXPECT_EQ(report.find("mpinit=2 1 处理完毕\r\n特别提示：mpout 被强行指定密评级别喽\r\n@@1"), 0u);
    // Under mpout3 the level-2 scores are kept: the -8.0 unit shows as not assessed at level 1.
    EXPECT_EQ(LineStartingWith(report, "@@1"), "@@1物理和环境   0.576500 # 0.700000 0.400000 1级不评  ");
    const std::size_t second = report.find("特别提示", report.find("特别提示") + 1);
    EXPECT_EQ(LineStartingWith(report.substr(second), "@@1"),
              "@@1物理和环境   0.590900 # 0.700000 0.400000 2级不评  ");
    EXPECT_NE(report.find("\r\n2级 密评总分="), std::string::npos);
    EXPECT_NE(report.find("\r\n1级 密评总分="), std::string::npos);
}

TEST(Report, Mpout1IsAFlagWordNotALevelSwitch) {
    const std::string report = ScoreScript("mpout 1");
    EXPECT_EQ(report.find("特别提示"), std::string::npos);
    EXPECT_EQ(LineStartingWith(report, "@@2"),
              "@@2网路和设备   0.802857 # 1.000000 0.700000 1.000000 0.400000 0.400000 ");
}

TEST(Report, NotEnteredUnitsAtLevel1) {
    const std::string report = ScoreScript("mpinit=1 2\r\nmpout");
    EXPECT_EQ(LineStartingWith(report, "@@1"), "@@1物理和环境   -1.000000 # 没输入   没输入   1级不评  ");
    EXPECT_EQ(LineStartingWith(report, "'"), "'没输入'的单元数为24个");
}

TEST(Report, NotEnteredCountsPerLevel) {
    EXPECT_EQ(LineStartingWith(ScoreScript("mpinit=2 2\r\nmpout"), "'"), "'没输入'的单元数为27个");
    EXPECT_EQ(LineStartingWith(ScoreScript("mpinit=3 2\r\nmpout"), "'"), "'没输入'的单元数为41个");
    EXPECT_EQ(LineStartingWith(ScoreScript("mpinit=4 2\r\nmpout"), "'"), "'没输入'的单元数为41个");
}

TEST(Report, GroupsWithoutAnyScoredLayerContributeZero) {
    const std::string report = ScoreScript("mpinit=3 2\r\nmpout");
    EXPECT_EQ(LineStartingWith(report, "3级"), "3级 密评总分=   0.000   0.0000 注意2位有效数字");
    EXPECT_EQ(LineStartingWith(report, "不符合"),
              "不符合=  0 部分符合=  0 符合=     0  不适用=暂不统计    0.0000(  0.0000) +  "
              "0.0000(  0.0000) ");
    // Management scored, technical not: the total is the management share alone.
    const std::string mgmtOnly = ScoreScript("mpinit=3 2\r\n@@5 1 1 1 1 1 1\r\nmpout");
    EXPECT_EQ(LineStartingWith(mgmtOnly, "3级"), "3级 密评总分=  30.000  30.0000 注意2位有效数字");
}

TEST(Report, DroppedLayerReweightsItsGroup) {
    // Layer 1 all not applicable: technical part is 70 x (layers 2 to 4) / 60.
    const ScriptRun run = InterpretScript("@@1 - / -\r\nmpout");
    EXPECT_DOUBLE_EQ(LayerScore(run.store, 1), -1.0);
    EXPECT_DOUBLE_EQ(run.store.TechWeightSum, 60);
    EXPECT_DOUBLE_EQ(run.store.TechWeightedSum, 0.8029 * 20 + 0.7615 * 10 + 0.8548 * 30);
    EXPECT_DOUBLE_EQ(run.store.TotalScore,
                     70 * (run.store.TechWeightedSum / 60) + 30 * (run.store.MgmtWeightedSum / 30));
    EXPECT_EQ(LineStartingWith(run.report, "@@1"), "@@1物理和环境   -1.000000 # 不适用   不适用   不适用   ");
}

// Table 5-2 shows a score from -0.0001 up and "\" for a marker or a lower score, in the report
// and in the exported tables alike.
TEST(Report, TableShowsScoresFromMinusATenThousandthAndBackslashBelow) {
    const ScriptRun run = InterpretScript("@@1 - 0.5\r\n$$2.1 -0.00016\r\n$$2.2 -0.00025\r\nmpout 100", {}, true);
    const std::string csv = app::TablesCsv(TablesOf(*run.lastReport));
    struct Row {
        const char* reportLine;
        const char* csvLine;
    };
    for (const Row& row : {
             Row{"@@1物理和环境         1->   \\      0.60000 ", "1,物理和环境,1,物理和环境安全_1.身份鉴别,\\,0.60000"},
             Row{"@@1物理和环境         2->   0.50000        ", "1,物理和环境,2,物理和环境安全_2.电子门禁记录数据存储完整性,0.50000,"},
             Row{"@@2网路和设备         1->  -0.00010  0.37707 ", "2,网路和设备,1,网络与通信安全_1.身份鉴别,-0.00010,0.37707"},
             Row{"@@2网路和设备         2->   \\            ", "2,网路和设备,2,网络与通信安全_2.通信数据完整性,\\,"},
         }) {
        EXPECT_NE(run.report.find(std::string(row.reportLine) + "\r\n"), std::string::npos) << row.reportLine;
        EXPECT_NE(csv.find(std::string(row.csvLine) + "\r\n"), std::string::npos) << row.csvLine;
    }
}

TEST(Report, NoObjectScoreSurvivesRoundingAndDropsTheLayer) {
    // 1307117.3166 is above every rounding window: unit kept, layer marked -3.0.
    const ScriptRun run = InterpretScript("@@8 1307117.3166\r\nmpout");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 8, 1), NoObjectScore);
    EXPECT_DOUBLE_EQ(LayerScore(run.store, 8), -3.0);
    EXPECT_DOUBLE_EQ(run.store.MgmtWeightSum, 24);
    EXPECT_EQ(LineStartingWith(run.report, "@@8"), "@@8应急处置     -3.000000 # 1307117.316600 0.700000 0.700000 ");
}

TEST(Report, ScoresTooLargeForThe32BitRoundingStayUnrounded) {
    const ScriptRun run = InterpretScript("@@5 214748.36475 1\r\nmpout 30000");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 5, 1), 214748.36475);
    const ScriptRun fits = InterpretScript("@@5 214748.3646 1\r\nmpout 30000");
    EXPECT_DOUBLE_EQ(UnitScore(fits.store, 5, 1), 2147483646 * 0.0001);
}

}  // namespace
}  // namespace quillon::test
