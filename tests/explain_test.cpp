// What each unit costs the total: the layers' losses, the units one may assume compliant and the
// sum of their single gains.
#include <gtest/gtest.h>

#include "app/explain_text.hpp"
#include "scoring/explain.hpp"
#include "app/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

ScriptRun Reported(const std::string& script) { return InterpretScript(script, {}, true); }

constexpr const char* kNoTechnical = "@@1 - - -\r\n@@2 - - - - -\r\n@@3 - - - - - -\r\n@@4 - - - - - - - -\r\n";
constexpr const char* kNoManagement = "@@5 - - - - - -\r\n@@6 - - - - -\r\n@@7 - - - - -\r\n@@8 - - -\r\n";

// The losses add up to what the total is out of less the total, and the text says which group
// gives nothing when one has no scored layer.
TEST(Explain, LossesAddUpToWhatTheTotalIsOutOf) {
    struct Case {
        std::string script;
        double outOf;
        const char* sentence;
    };
    for (const Case& c : {Case{std::string(BuiltInSamples[3].text), 100, "各层面失分（合计 30.3202，100 - 总分 = 30.3202）："},
                          Case{std::string("@@4 1 1 0.5\r\n") + kNoManagement, 70,
                               "各层面失分（合计 11.0770，70 - 总分 = 11.0770：管理组没有计分的层面，总分至多 70）："},
                          Case{std::string(kNoTechnical) + "@@8 1 0.5 1\r\n", 30,
                               "各层面失分（合计 5.2740，30 - 总分 = 5.2740：技术组没有计分的层面，总分至多 30）："},
                          Case{std::string(kNoTechnical) + kNoManagement, 0,
                               "各层面失分（合计 0.0000，0 - 总分 = 0.0000：技术组和管理组都没有计分的层面，总分至多 0）："}}) {
        const ScriptRun run = Reported(c.script);
        const Explanation e = ExplainTotal(*run.lastReport, run.lastReportFlags);
        EXPECT_EQ(e.outOf, c.outOf) << c.sentence;
        double lost = 0;
        for (const double l : e.layerLoss) lost += l;
        EXPECT_NEAR(lost, e.outOf - e.total, 1e-9) << c.sentence;
        EXPECT_NE(app::ExplanationText(*run.lastReport, e, nullptr, run.lastReportFlags).find(c.sentence), std::string::npos)
            << c.sentence;
    }
}

// Only a unit the last report counted has a gain to assume; the library never scores another 1.
TEST(Explain, OnlyCountedUnitsMayBeAssumedCompliant) {
    struct Case {
        const char* script;
        const char* units;
        UnitRef refused;  // {0, 0}: every unit accepted
        const char* why;
    };
    const char* const noGain = "): it has no gain to assume";
    for (const Case& c : {Case{"@@4 1 1 -\r\n", "4.3", {4, 3}, "not applicable"},
                          Case{"mpinit=3 2\r\n@@4 1 1 1\r\n", "4.1,4.4", {4, 4}, "not entered"},
                          Case{"@@8 1307117.3166 0.5\r\n", "8.1", {8, 1}, "no object to count; its layer leaves the total"},
                          Case{"mpinit=1 2\r\nmpout3\r\n", "1.3", {1, 3}, "marked not assessed"},
                          Case{"@@8 1307117.3166 0.5\r\n", "8.2", {}, ""},  // counted, its layer out: a gain of 0
                          Case{"@@4 1 0.5\r\n", "4.1,4.2", {}, ""}}) {
        const ScriptRun run = Reported(c.script);
        const app::AssumedUnits assumed = app::ParseAssumedUnits(c.units, *run.lastReport);
        if (c.refused.layer == 0) {
            EXPECT_EQ(assumed.error, "") << c.script;
            continue;
        }
        EXPECT_EQ(assumed.error, "--assume: the last report did not count unit " + UnitNumber(c.refused.layer, c.refused.unit) +
                                     " (" + c.why + noGain)
            << c.script;
        // Asked all the same, the library leaves such a unit as the report had it.
        EXPECT_EQ(TotalAssuming(*run.lastReport, run.lastReportFlags, {c.refused}), run.lastReport->TotalScore) << c.script;
    }
}

// The sum of single gains counts every assumed unit, also one above 1 whose single gain is a loss.
TEST(Explain, SumOfSingleGainsCountsEveryAssumedUnit) {
    const ScriptRun run = Reported("@@4 1.2 0.5\r\n");
    const Explanation e = ExplainTotal(*run.lastReport, run.lastReportFlags);
    const app::Assumption one = app::Assume(*run.lastReport, e, app::ParseAssumedUnits("4.1", *run.lastReport), run.lastReportFlags);
    EXPECT_LT(one.total, e.total);
    EXPECT_DOUBLE_EQ(one.sumOfGains, one.total - e.total);
    const app::Assumption both =
        app::Assume(*run.lastReport, e, app::ParseAssumedUnits("4.1,4.2", *run.lastReport), run.lastReportFlags);
    double gainOf42 = 0;
    for (const UnitGain& g : e.gains) {
        if (g.unit == UnitRef{4, 2}) gainOf42 = g.gain;
    }
    EXPECT_GT(gainOf42, 0);
    EXPECT_DOUBLE_EQ(both.sumOfGains, one.sumOfGains + gainOf42);
}

}  // namespace
}  // namespace quillon::test
