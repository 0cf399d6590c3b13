// The script at its limits: lengths on both sides of every cut, every byte value, and
// numbers at the edges of the double range.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "codec/decode.hpp"
#include "codec/encoding.hpp"
#include "scoring/objects.hpp"
#include "text/utf8.hpp"
#include "script/lines.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

std::string FirstLine(const std::string& report) { return report.substr(0, report.find("\r\n")); }

std::string Repeat(std::string_view piece, std::size_t n) {
    std::string out;
    out.reserve(piece.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += piece;
    return out;
}

std::vector<std::string_view> Codes(const ScriptRun& run) {
    std::vector<std::string_view> codes;
    for (const Problem& p : run.account.problems) codes.push_back(p.code);
    return codes;
}

using Codes_ = std::vector<std::string_view>;

// Lengths count GBK bytes: a Chinese character is 2, and a cut never halves one.
TEST(Limits, LinesOf1999And2000GbkBytes) {
    const std::string exact = "mpecho" + std::string(1993, 'a');
    EXPECT_EQ(FirstLine(ScoreScript(exact)), exact);
    EXPECT_EQ(FirstLine(ScoreScript(exact + "b")), exact);
    const std::string chinese = "mpecho" + Repeat("中", 996) + "a";  // 6 + 1992 + 1 GBK bytes
    EXPECT_EQ(FirstLine(ScoreScript(chinese)), chinese);
    EXPECT_EQ(codec::Utf8ToGbk(FirstLine(ScoreScript(chinese))).size(), 1999u);
    EXPECT_EQ(FirstLine(ScoreScript(chinese.substr(0, chinese.size() - 1) + "中")), chinese.substr(0, chinese.size() - 1));
    EXPECT_EQ(Codes(InterpretScript(chinese, {}, true)), Codes_{});
    EXPECT_EQ(Codes(InterpretScript(chinese + "b", {}, true)), Codes_{problem::LineCut});
}

TEST(Limits, TokensOf63And64Bytes) {
    ObjectTable table;
    const std::string digits63 = "0." + std::string(60, '0') + "1";  // 63 bytes
    ASSERT_EQ(ScoreObjects(table, digits63), 1);
    EXPECT_DOUBLE_EQ(table.ObjectScores[0], 1e-61);
    ASSERT_EQ(ScoreObjects(table, digits63 + "9"), 1);  // the 64th byte is cut off
    EXPECT_DOUBLE_EQ(table.ObjectScores[0], 1e-61);
    // 30 characters and a code make 63 GBK bytes; one character more cuts the code to "V".
    ASSERT_EQ(ScoreObjects(table, Repeat("备", 30) + "VVX"), 1);
    EXPECT_DOUBLE_EQ(table.ObjectScores[0], 0.5);
    EXPECT_EQ(ScoreObjects(table, Repeat("备", 31) + "VVX"), 0);
    EXPECT_EQ(Codes(InterpretScript("$$1.1 " + Repeat("备", 30) + "VVX", {}, true)), Codes_{problem::ObjectReadInPart});
    EXPECT_EQ(Codes(InterpretScript("$$1.1 " + Repeat("备", 31) + "VVX", {}, true)),
              (Codes_{problem::ObjectsCutShort, problem::TokenCut, problem::NoObjectCounted}));
}

TEST(Limits, SixteenAndSeventeenTokens) {
    ObjectTable table;
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "VVV ";
    EXPECT_EQ(ScoreObjects(table, sixteen), 16);
    EXPECT_EQ(ScoreObjects(table, sixteen + "XXX"), 16);
    EXPECT_EQ(table.NonCompliant, 0);
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "VXX ";
    EXPECT_EQ(ScoreObjects(table, many), 16);
}

TEST(Limits, LayerWordsOf199And200Bytes) {
    const std::string word199 = "0." + std::string(196, '0') + "1";
    EXPECT_DOUBLE_EQ(UnitScore(InterpretScript("@@1 " + word199 + "\r\nmpout 0").store, 1, 1), 1e-197);
    EXPECT_DOUBLE_EQ(UnitScore(InterpretScript("@@1 " + word199 + "7\r\nmpout 0").store, 1, 1), 1e-197);
    EXPECT_EQ(Codes(InterpretScript("@@1 0.5" + Repeat("中", 98), {}, true)), Codes_{problem::LayerWordReadInPart});
    EXPECT_EQ(Codes(InterpretScript("@@1 0.5" + Repeat("中", 99), {}, true)),
              (Codes_{problem::LayerWordCut, problem::LayerWordReadInPart}));
}

TEST(Limits, ReportCutAtItsLimitInGbkBytes) {
    // Each echoed line takes 1999 + 2 GBK bytes; 524 of them and the closing report pass the cap.
    std::string script;
    for (int i = 0; i < 524; ++i) script += "mpecho" + Repeat("中", 996) + "a\r\n";
    const ScriptRun run = InterpretScript(script, {}, true);
    EXPECT_TRUE(run.reportTruncated);
    EXPECT_EQ(codec::Utf8ToGbk(run.report).size(), kReportCapBytes);
    EXPECT_EQ(run.report, ScoreScript(script));
    ASSERT_FALSE(run.account.problems.empty());
    EXPECT_EQ(run.account.problems.back().code, problem::ReportCut);
    EXPECT_FALSE(InterpretScript(script.substr(0, script.size() / 2)).reportTruncated);
}

TEST(Limits, EveryByteValueInALine) {
    std::string line = "mpecho ";
    for (int b = 1; b < 256; ++b) line.push_back(static_cast<char>(b));
    for (const std::string& report :
         {ScoreScript(line), ScoreScript(codec::DecodeScript(line, codec::InputEncoding::Auto).text),
          ScoreScript(std::string(1, '\0') + line)}) {
        EXPECT_TRUE(IsValidUtf8(report));
    }
    const std::string echoed = FirstLine(ScoreScript(line));
    // Bytes below 32 are dropped (CR and LF end the line), the rest survive or are repaired.
    EXPECT_EQ(echoed.substr(0, 7), "mpecho ");
    EXPECT_EQ(echoed.find('\t'), std::string::npos);
}

TEST(Limits, ExtremeScoresStayOutOfTheTotal) {
    // 1e308 is far above NoObjectScore: its layer is marked -3 and leaves the total.
    const ScriptRun huge = InterpretScript("@@1 1e308\r\nmpout");
    EXPECT_DOUBLE_EQ(LayerScore(huge.store, 1), -3.0);
    EXPECT_DOUBLE_EQ(huge.store.TechWeightSum, 60);
    EXPECT_NE(huge.report.find("# 1" + std::string(10, '0')), std::string::npos);
    // Objects whose sum overflows: the mean is infinite and marks its layer the same way.
    const ScriptRun overflow = InterpretScript("$$1.1 1e308 1e308\r\nmpout");
    EXPECT_DOUBLE_EQ(LayerScore(overflow.store, 1), -3.0);
    EXPECT_EQ(LineStartingWith(overflow.report, "3级"), LineStartingWith(huge.report, "3级"));
    EXPECT_EQ(LineStartingWith(huge.report, "3级"), "3级 密评总分=  82.090  82.0873 注意2位有效数字");
    // A tiny negative object counts as a score of about zero.
    const ScriptRun tiny = InterpretScript("$$1.1 -1e-308\r\nmpout 0");
    EXPECT_DOUBLE_EQ(UnitScore(tiny.store, 1, 1), 0.0);
    // In a layer line a leading minus always means not applicable.
    EXPECT_DOUBLE_EQ(UnitScore(InterpretScript("@@1 -1e-308").store, 1, 1), -1.0);
    // Words that are not finite numbers change nothing.
    EXPECT_EQ(ScoreScript("@@1 inf nan 1e400\r\nmpout"), ScoreScript("mpout"));
}

TEST(Limits, TextEndsAtItsFirstNul) {
    const std::string utf16("\xFF\xFEm\0p\0o\0u\0t\0", 12);
    EXPECT_EQ(ScoreScript(codec::DecodeScript(utf16, codec::InputEncoding::Auto).text), ScoreScript("mpout"));
    EXPECT_EQ(ScoreScript(utf16), ScoreScript(""));  // the library itself stops at the NUL
    const ScriptRun run = InterpretScript(std::string("mpout\r\n\0mpinit=4", 16), {}, true);
    EXPECT_EQ(run.report, ScoreScript("mpout"));
    EXPECT_EQ(Codes(run), Codes_{problem::EndsAtNul});
    EXPECT_EQ(run.account.problems[0].line, 2u);
    // The problem is on the line the NUL is on, also after a lone LF or CR, or within a line.
    for (const auto& [script, line] : {std::pair{std::string("mpout\n\0x", 8), 2u}, std::pair{std::string("mpout\r\0x", 8), 2u},
                                       std::pair{std::string("mpout\n\n\0x", 9), 3u}, std::pair{std::string("mpout\0x", 7), 1u},
                                       std::pair{std::string("\0x", 2), 1u}}) {
        const ScriptRun ended = InterpretScript(script, {}, true);
        ASSERT_FALSE(ended.account.problems.empty());
        EXPECT_EQ(ended.account.problems.back().code, problem::EndsAtNul);
        EXPECT_EQ(ended.account.problems.back().line, line) << script;
    }
}

TEST(Limits, ScriptOfMaximumLength) {
    std::string script = "mpout\r\n";
    script.resize(kMaxScriptBytes, ' ');
    EXPECT_EQ(ScoreScript(script), ScoreScript("mpout"));
    // Beyond the limit the text is cut: a command there is never read.
    EXPECT_EQ(ScoreScript(script + "\r\nmpinit=4"), ScoreScript("mpout"));
    // (Its second line, of blanks, is cut at 1999 bytes too.)
    EXPECT_EQ(Codes(InterpretScript(script + "x", {}, true)), (Codes_{problem::LineCut, problem::ScriptCut}));
    // 12,000,000 GBK bytes of Chinese remarks (18,000,000 in UTF-8) are read to their end.
    const std::string remarks = Repeat(Repeat("注", 999) + "\r\n", 6000);
    EXPECT_EQ(ScoreScript(remarks + "@@1 0 0 0\r\nmpout"), ScoreScript("@@1 0 0 0\r\nmpout"));
    // A character that would straddle the limit is left out whole.
    const std::string straddling = std::string(kMaxScriptBytes - 1, ' ') + "中";
    EXPECT_EQ(Codes(InterpretScript(straddling, {}, true)),
              (Codes_{problem::NoCommand, problem::LineCut, problem::ScriptCut}));
}

// Inputs the fuzzer once broke on keep passing its checks.
TEST(Limits, FuzzerFindingsStayFixed) {
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUILLON_FUZZ_REGRESSIONS_DIR)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const std::string& script : {bytes, codec::DecodeScript(bytes, codec::InputEncoding::Auto).text}) {
            const ScriptRun run = InterpretScript(script, {}, true);
            EXPECT_EQ(run.report, ScoreScript(script)) << entry.path();
            EXPECT_TRUE(IsValidUtf8(run.report)) << entry.path();
            for (const Problem& problem : run.account.problems) EXPECT_TRUE(IsValidUtf8(problem.message)) << entry.path();
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace quillon::test
