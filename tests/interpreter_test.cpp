// The interpreter: level set-up lines, line splitting, command recognition, echo and limits.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "text/gbk_width.hpp"
#include "scoring/model.hpp"
#include "script/lines.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

std::string FirstLine(const std::string& report) { return report.substr(0, report.find("\r\n")); }

struct LevelSetUpCase {
    const char* name;
    const char* line;
    const char* confirmation;  // empty: the line is ignored
    int level;
    double unit11;  // score of unit 1.1 afterwards
    double unit13;  // score of unit 1.3 afterwards
};

class LevelSetUp : public ::testing::TestWithParam<LevelSetUpCase> {};

// Each case runs after a layer line that changes unit 1.1, so that "scores kept" shows.
TEST_P(LevelSetUp, ConfirmsAndSetsScores) {
    const auto& c = GetParam();
    const ScriptRun run = InterpretScript(std::string("@@1 0.3\r\n") + c.line);
    if (*c.confirmation) {
        EXPECT_EQ(FirstLine(run.report), c.confirmation);
    } else {
        EXPECT_EQ(run.report.find("mpinit="), std::string::npos);
    }
    EXPECT_EQ(run.store.AssessmentLevel, c.level);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 1), c.unit11);
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 3), c.unit13);
}

INSTANTIATE_TEST_SUITE_P(
    Interpreter, LevelSetUp,
    ::testing::Values(
        LevelSetUpCase{"level1_default_argument", "mpinit=1", "mpinit=1 1 处理完毕", 1, 0.7, -8},
        LevelSetUpCase{"level2_two_blanks", "mpinit=2  1", "mpinit=2 1 处理完毕", 2, 0.7, -8},
        LevelSetUpCase{"level3_copy", "mpinit=3 1", "mpinit=3 1 处理完毕", 3, 1, 0.7},
        LevelSetUpCase{"level4_copy", "mpinit=4", "mpinit=4 1 处理完毕", 4, 1, 0.7},
        LevelSetUpCase{"level3_clear", "mpinit=3 2", "mpinit=3 2 处理完毕", 3, -5, -5},
        LevelSetUpCase{"level1_clear", "mpinit=1 2", "mpinit=1 2 处理完毕", 1, -5, -8},
        LevelSetUpCase{"level4_keep", "mpinit=4 0", "mpinit=4 0 处理完毕", 4, 0.3, 0.7},
        LevelSetUpCase{"hex_ten_keeps", "mpinit=3 10", "mpinit=3 10 处理完毕", 3, 0.3, 0.7},
        LevelSetUpCase{"hex_letter", "mpinit=3 a", "mpinit=3 a 处理完毕", 3, 0.3, 0.7},
        LevelSetUpCase{"minus_one_prints_unsigned", "mpinit=2 -1", "mpinit=2 ffffffff 处理完毕", 2,
                       0.3, 0.7},
        LevelSetUpCase{"not_hex_means_one", "mpinit=2 zz", "mpinit=2 1 处理完毕", 2, 0.7, -8},
        LevelSetUpCase{"digit_glued_to_word", "mpinit=4abc 2", "mpinit=4 2 处理完毕", 4, -5, -5},
        LevelSetUpCase{"level5_ignored", "mpinit=5 1", "", 3, 0.3, 0.7},
        LevelSetUpCase{"level0_ignored", "mpinit=0", "", 3, 0.3, 0.7},
        LevelSetUpCase{"no_digit_ignored", "mpinit=", "", 3, 0.3, 0.7},
        LevelSetUpCase{"blank_before_is_comment", " mpinit=2", "", 3, 0.3, 0.7},
        LevelSetUpCase{"tab_before_is_dropped", "\tmpinit=2", "mpinit=2 1 处理完毕", 2, 0.7, -8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Interpreter, LevelSetUpResetsEveryUnitTallyRecord) {
    const ScriptRun run = InterpretScript("mpinit=4 0");
    for (const auto& layer : run.store.UnitTallies) {
        for (const auto& record : layer) {
            for (const auto value : record) EXPECT_EQ(value, -1);
        }
    }
}

TEST(Interpreter, Level2ScoresUnderLevel3WeightsStayOut) {
    const ScriptRun run = InterpretScript("mpinit=2 1\r\nmpinit=3 7\r\nmpout");
    EXPECT_DOUBLE_EQ(UnitScore(run.store, 1, 3), -8.0);
    EXPECT_DOUBLE_EQ(run.store.UnitWeights[0][2], 0.7);
    EXPECT_EQ(LineStartingWith(run.report, "@@1"),
              "@@1物理和环境   0.576500 # 0.700000 0.400000 1级不评  ");
}

std::vector<std::string> CollectedLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](const ScriptLine& line) { lines.emplace_back(line.text); });
    return lines;
}

TEST(Interpreter, LineEndsOfEveryKind) {
    using Lines = std::vector<std::string>;
    // A final CR LF leaves an empty last line; a final lone CR or LF does not.
    EXPECT_EQ(CollectedLines("a\r\nb\r\n"), (Lines{"a", "b", ""}));
    EXPECT_EQ(CollectedLines("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(CollectedLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(CollectedLines("a\n\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(CollectedLines("a\r\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(CollectedLines("a\n\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(CollectedLines("a\n\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(CollectedLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(CollectedLines("a"), (Lines{"a"}));
    EXPECT_EQ(CollectedLines(""), (Lines{}));
    EXPECT_EQ(CollectedLines("\n"), (Lines{""}));
    EXPECT_EQ(CollectedLines("\n\n"), (Lines{""}));
    EXPECT_EQ(CollectedLines("@@1\t1\t0\x01\x7f"), (Lines{"@@110\x7f"}));
}

// The splitter steps over eight bytes at a time; byte by byte, the rule is: the first byte is
// always taken, a line runs to the next CR or LF, and bytes below 32 are dropped from it.
TEST(Interpreter, LinesSplitAsByteByByteWherever) {
    const std::array<std::string_view, 9> pieces = {"a", " ", "\t", "\r", "\n", "\x01", "\x1f", "中", "\x7f"};
    std::mt19937 random(7);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string text;
        for (int n = static_cast<int>(random() % 40); n > 0; --n) text += pieces[random() % pieces.size()];
        std::vector<std::tuple<std::string, std::string, bool>> expected;
        for (std::size_t pos = 0; pos < text.size();) {
            std::size_t end = pos + 1;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
            std::string kept;
            bool dropped = false;
            for (std::size_t i = pos; i < end; ++i) {
                if (static_cast<unsigned char>(text[i]) >= 32) {
                    kept += text[i];
                } else {
                    dropped |= i > pos || (text[i] != '\r' && text[i] != '\n');
                }
            }
            expected.emplace_back(kept, text.substr(pos, end - pos), dropped);
            pos = end + 1;
        }
        std::vector<std::tuple<std::string, std::string, bool>> split;
        ForEachLine(text, [&](const ScriptLine& line) {
            split.emplace_back(std::string(line.text), std::string(line.raw), line.droppedControls);
        });
        ASSERT_EQ(split, expected) << testing::PrintToString(text);
    }
}

TEST(Interpreter, SameScriptWithEveryLineEndScoresTheSame) {
    const std::string crlf = ScoreScript("mpinit=4\r\n@@1 0.5 1 0.5\r\nmpout\r\n");
    EXPECT_EQ(ScoreScript("mpinit=4\n@@1 0.5 1 0.5\nmpout\n"), crlf);
    EXPECT_EQ(ScoreScript("mpinit=4\r@@1 0.5 1 0.5\rmpout\r"), crlf);
    EXPECT_EQ(ScoreScript("mpinit=4\r\n@@1 0.5 1 0.5\r\nmpout"), crlf);  // no final line end
}

TEST(Interpreter, TwoReportsAndNoDefaultReport) {
    const std::string report = ScoreScript("mpout\r\nmpout");
    EXPECT_EQ(report, Level3DefaultLayerLines() + Level3DefaultSummary() +
                          Level3DefaultLayerLines() + Level3DefaultSummary());
}

TEST(Interpreter, ReportAtTheStartShowsTheStateBeforeLaterLines) {
    const std::string report = ScoreScript("mpout\r\n@@1 0 0 0");
    EXPECT_EQ(report, Level3DefaultLayerLines() + Level3DefaultSummary());
}

TEST(Interpreter, CommandWordsAreCaseSensitiveAndStartTheLine) {
    const std::string defaultReport = ScoreScript("");
    EXPECT_EQ(ScoreScript(" mpout"), defaultReport);
    EXPECT_EQ(ScoreScript("MPOUT"), defaultReport);
    EXPECT_EQ(ScoreScript("Mpecho x"), defaultReport);
    EXPECT_EQ(ScoreScript("\tmpout"), ScoreScript("mpout"));
    // TABs glue the words of a layer line into the single word @@110: nothing is set.
    EXPECT_EQ(ScoreScript("@@1\t1\t0"), defaultReport);
}

TEST(Interpreter, EchoCopiesTheCollectedLine) {
    EXPECT_EQ(ScoreScript("mpecho  输出注释1：  下面是 5.4 调整\r\nmpout"),
              "mpecho  输出注释1：  下面是 5.4 调整\r\n" + Level3DefaultLayerLines() +
                  Level3DefaultSummary());
    EXPECT_EQ(FirstLine(ScoreScript("mpecho")), "mpecho");
    EXPECT_EQ(FirstLine(ScoreScript("mpec\tho!")), "mpecho!");
    EXPECT_EQ(FirstLine(ScoreScript("mpecx 😀 emoji")), "mpecx 😀 emoji");
}

TEST(Interpreter, ScriptEndsAtItsFirstNulByte) {
    const std::string script("mpout\0mpinit=4", 14);
    EXPECT_EQ(ScoreScript(script), ScoreScript("mpout"));
    EXPECT_EQ(ScoreScript(std::string("\0mpout", 6)), ScoreScript(""));
}

TEST(Interpreter, LongLinesAreCutAt1999BytesAndTheRestDropped) {
    const std::string body(2100, 'a');
    const std::string report = ScoreScript("mpecho" + body + "\r\nmpout");
    const std::string echoed = FirstLine(report);
    EXPECT_EQ(echoed.size(), kMaxLineBytes);
    EXPECT_EQ(echoed, ("mpecho" + body).substr(0, kMaxLineBytes));
    // The rest of the physical line does not become a line of its own.
    EXPECT_EQ(ScoreScript("mpecho" + std::string(1993, 'x') + "mpout"),
              "mpecho" + std::string(1993, 'x') + "\r\n" + ScoreScript("").substr(0));
    // A line of exactly 1999 bytes is kept whole; a cut never splits a character.
    EXPECT_EQ(FirstLine(ScoreScript("mpecho" + std::string(1993, 'y'))).size(), 1999u);
    const std::string chinese = FirstLine(ScoreScript("mpecho" + std::string(1992, 'z') + "中文"));
    EXPECT_EQ(chinese, "mpecho" + std::string(1992, 'z'));
    // Control bytes are dropped before the cut, also far past what is kept.
    std::string tabbed = "mpecho";
    std::string kept = "mpecho";
    for (int i = 0; i < 3000; ++i) {
        tabbed += i % 7 == 0 ? "\t\x01中" : "ab\t";
        kept += i % 7 == 0 ? "中" : "ab";
    }
    EXPECT_EQ(FirstLine(ScoreScript(tabbed + "\r\nmpout")), kept.substr(0, GbkPrefixLength(kept, kMaxLineBytes)));
}

TEST(Interpreter, InvalidUtf8IsRepairedNotPassedOn) {
    EXPECT_EQ(FirstLine(ScoreScript("mpecho \xff\xfe ok")), "mpecho \xEF\xBF\xBD\xEF\xBF\xBD ok");
}

void ExpectSameModel(const ScoreStore& a, const ScoreStore& b) {
    EXPECT_TRUE(a == b);  // every field; the checks below also tell zero's sign
    EXPECT_EQ(a.AssessmentLevel, b.AssessmentLevel);
    EXPECT_EQ(a.NotEnteredCount, b.NotEnteredCount);
    EXPECT_EQ(a.NonCompliantCount, b.NonCompliantCount);
    EXPECT_EQ(a.PartlyCompliantCount, b.PartlyCompliantCount);
    EXPECT_EQ(a.CompliantCount, b.CompliantCount);
    EXPECT_EQ(std::memcmp(&a.TotalScore, &b.TotalScore, sizeof(double)), 0);
    EXPECT_EQ(a.UnitTallies, b.UnitTallies);
    for (int k = 0; k < kLayerCount; ++k) {
        const LayerRow& x = a.LayerRows[static_cast<unsigned>(k)];
        const LayerRow& y = b.LayerRows[static_cast<unsigned>(k)];
        EXPECT_EQ(std::memcmp(x.UnitScores.data(), y.UnitScores.data(), sizeof x.UnitScores), 0) << k;
        EXPECT_EQ(std::memcmp(&x.LayerScore, &y.LayerScore, sizeof(double)), 0) << k;
        EXPECT_EQ(std::memcmp(&x.WeightedSum, &y.WeightedSum, sizeof(double)), 0) << k;
    }
}

// Past the report's limit, reports of an unchanged model are remembered, not worked out again
// (a traced run always works them out): the model must come out the same, bit for bit.
TEST(Interpreter, ReportsPastTheLimitChangeTheModelAsEver) {
    std::string script;
    for (int i = 0; i < 700; ++i) script += "mpout 30100\r\n";
    for (int i = 0; i < 30; ++i) {
        script += "mpout\r\nmpout\r\n@@1 0.5 -0.0499 1\r\nmpout 10000\r\nmpout 10000\r\nmpout 10000\r\nmpout3\r\nmpout2 20000\r\n"
                  "mpout2 20000\r\n$$1.1 VVX\r\nmpout\r\n@@2 * *\r\nmpout\r\nmpinit=2 2\r\nmpout 100\r\nmpout 100\r\n"
                  "mpinit=4\r\n$$4.2 VXX\r\nmpout4 30000\r\n"
                  // the same score with other tally records: a report leaves the records as it finds them
                  "$$1.2 VVV\r\nmpout\r\n$$1.2 VVV VVV\r\nmpout\r\n"
                  // lines that leave the model alone between the same reports
                  "@@3 0.33333 1 0.66667 1 1\r\nmpout 10000\r\n$$ VVX\r\nmpecho x\r\n注\r\nmpout 10000\r\nmpout 10000\r\n";
    }
    script += "mpout 10000\r\nmpout 10000\r\n";  // the last report is a remembered one
    const ScriptRun remembered = InterpretScript(script, {}, true);
    const ScriptRun worked = InterpretScript(script, [](std::string_view) {}, true);
    ASSERT_TRUE(remembered.reportTruncated);
    EXPECT_EQ(remembered.report, worked.report);
    ExpectSameModel(remembered.store, worked.store);
    ExpectSameModel(*remembered.lastReport, *worked.lastReport);
}

TEST(Interpreter, ReportStopsGrowingAtItsCap) {
    std::string script;
    for (int i = 0; i < 1500; ++i) script += "mpout\r\n";
    const std::string report = ScoreScript(script);
    EXPECT_LE(GbkWidth(report), 1048575u);  // counted in GBK bytes
    EXPECT_GE(GbkWidth(report), 1048574u);
    // What is there is a prefix of the uncapped report, cut at a character boundary.
    std::string uncapped;
    const std::string one = Level3DefaultLayerLines() + Level3DefaultSummary();
    while (uncapped.size() < report.size()) uncapped += one;
    EXPECT_EQ(report, uncapped.substr(0, report.size()));
    EXPECT_NE(static_cast<unsigned char>(report.back()) & 0xC0, 0x80u);
}

TEST(Interpreter, DiagnosticsGoToTheSinkAndNeverToTheReport) {
    std::string trace;
    const std::string report =
        ScoreScript("@@9 1\r\n@@1 1 0", [&](std::string_view line) { trace += line; });
    EXPECT_EQ(report, ScoreScript("@@9 1\r\n@@1 1 0"));
    EXPECT_NE(trace.find("deal_CC 必须 @@1-8 \n"), std::string::npos);
    EXPECT_NE(trace.find("len=3 len2=3\n"), std::string::npos);
    EXPECT_NE(trace.find("_buf_line[i]=0 debug\n"), std::string::npos);
    EXPECT_EQ(report.find("deal_CC"), std::string::npos);
}

TEST(Interpreter, RunsAreIndependent) {
    const std::string first = ScoreScript("mpinit=1 2\r\n@@1 0.5");
    ScoreScript("mpinit=4\r\n@@2 1 1 1 1 1\r\nmpout 100");
    EXPECT_EQ(ScoreScript("mpinit=1 2\r\n@@1 0.5"), first);
}

}  // namespace
}  // namespace quillon::test
