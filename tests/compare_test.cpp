// Two last reports side by side: which units count in which class, and when a change is a figure.
#include <gtest/gtest.h>

#include "app/compare_text.hpp"
#include "script/interpreter.hpp"
#include "scoring/compare.hpp"

namespace quillon::test {
namespace {

ScoreStore LastReport(std::string_view script) {
    const ScriptRun run = InterpretScript(ScriptText(script), {}, true);
    return *run.lastReport;
}

TEST(Compare, ComplianceClassesAsTheCountsHaveThem) {
    const struct {
        double weight, score;
        Compliance expected;
    } cases[] = {
        {1, 0, Compliance::NonCompliant},         {1, -0.00009, Compliance::NonCompliant},
        {1, 0.0001, Compliance::PartlyCompliant}, {1, 0.99998, Compliance::PartlyCompliant},
        {1, 0.99999, Compliance::Compliant},      {1, 1.0001, Compliance::NotCounted},
        {0.39, 1, Compliance::NotCounted},        {0.4, 1, Compliance::Compliant},
        {1, NotApplicableMark, Compliance::NotCounted}, {1, NoObjectScore, Compliance::NotCounted},
    };
    for (const auto& c : cases) EXPECT_EQ(ComplianceOf(c.weight, c.score), c.expected) << c.weight << " " << c.score;
}

// A unit marked on one side has no change and has not moved; a layer with no unit counted on one
// side has neither a score change nor a points change.
TEST(Compare, MarkersHaveNoChange) {
    const Comparison c = Compare(LastReport("@@1 0 0.5 1\r\n@@8 1 1 1\r\n"), LastReport("@@1 - 1 1\r\n@@8 - - -\r\n"));
    ASSERT_EQ(c.units.size(), 41u);
    EXPECT_FALSE(c.units[0].change);
    EXPECT_FALSE(c.units[0].moved());
    EXPECT_EQ(c.units[1].change, 0.5);
    EXPECT_TRUE(c.units[1].moved());
    EXPECT_EQ(c.units[2].change, 0.0);
    EXPECT_FALSE(c.units[2].moved());
    EXPECT_FALSE(c.layers[7].change);
    EXPECT_FALSE(c.layers[7].pointsChange);
    EXPECT_FALSE(c.levelDiffers());
    // Every counted unit that moved left one class and entered another: the counts agree.
    int non = 0, compliant = 0;
    for (const Comparison::Unit& u : c.units) {
        if (!u.moved()) continue;
        non += (u.complianceAfter == Compliance::NonCompliant) - (u.complianceBefore == Compliance::NonCompliant);
        compliant += (u.complianceAfter == Compliance::Compliant) - (u.complianceBefore == Compliance::Compliant);
    }
    EXPECT_EQ(compliant, 1);
    EXPECT_EQ(non, 0);
}

TEST(Compare, AScriptWithItselfChangesNothing) {
    const ScoreStore store = LastReport("mpinit=4\r\n@@4 0.6667 1 - 0.25 1 0.25 1 1\r\n");
    const Comparison c = Compare(store, store);
    EXPECT_EQ(c.totalChange, 0.0);
    const std::string text = app::ComparisonText(c, "a", "a");
    EXPECT_NE(text.find("\n没有单元在不符合、部分符合和符合之间变化。\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("注意"), std::string::npos);
    EXPECT_EQ(text.find('+'), std::string::npos) << text;
}

}  // namespace
}  // namespace quillon::test
