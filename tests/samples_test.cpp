// The built-in sample scripts score the totals they record.
#include <gtest/gtest.h>

#include "app/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

TEST(Samples, Level4SampleGivesItsRecordedTotal) {
    const std::string report = ScoreScript(BuiltInSamples[3].text);
    EXPECT_EQ(LineStartingWith(report, "4级"), "4级 密评总分=  69.680  69.6798 注意2位有效数字");
    const std::string counts = LineStartingWith(report, "不符合");
    EXPECT_EQ(counts.substr(counts.size() - 38), "42.7710( 70.0000) + 26.9088( 30.0000) ");
    EXPECT_EQ(report.substr(report.size() - kClosingNotice.size()), kClosingNotice);
    EXPECT_EQ(LineStartingWith(report, "*** "), "*** 密评总分=  69.680 ");
}

TEST(Samples, Level2SampleShowsItsTotalInTheReportOfLine12) {
    const std::string report = ScoreScript(BuiltInSamples[1].text);
    // Reports of lines 2, 12 and 14, each after the level notice.
    std::vector<std::string> totals;
    for (std::size_t pos = report.find("2级 密评总分="); pos != std::string::npos;
         pos = report.find("2级 密评总分=", pos + 1)) {
        totals.push_back(report.substr(pos, report.find("\r\n", pos) - pos));
    }
    ASSERT_EQ(totals.size(), 3u);
    EXPECT_EQ(totals[1], "2级 密评总分=  64.230  64.2306 注意2位有效数字");
}

TEST(Samples, EveryTextEndsWithCrLfAndTheNoticeIsTextOne) {
    for (const auto& sample : BuiltInSamples) {
        EXPECT_EQ(sample.text.substr(sample.text.size() - 2), "\r\n") << sample.label;
    }
    EXPECT_EQ(BuiltInSamples[0].text, NoticeText);
    EXPECT_FALSE(BuiltInSamples[0].scored);
    EXPECT_EQ(BuiltInSamples[2].label, "3. 某三级  Velmar = 62.29");
}

}  // namespace
}  // namespace quillon::test
