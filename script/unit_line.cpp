#include "script/unit_line.hpp"

#include <cstdint>
#include <string>

#include "scoring/count_form.hpp"
#include "scoring/text_format.hpp"

namespace quillon {
namespace {

constexpr int kNotRead = -1;
constexpr int kBadLayer = -2;
constexpr int kBadUnit = -3;

struct UnitAddress {
    int layer = kNotRead;
    int unit = kNotRead;
};

// A decimal integer at text[pos] ("%d": optional sign, at least one digit). A value that does
// not fit 32 bits comes back as 0, which no unit has.
bool ReadInt(std::string_view text, std::size_t& pos, int& value) {
    std::size_t i = pos;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (i == digitsStart) return false;
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    value = (signedValue > INT32_MAX || signedValue < INT32_MIN) ? 0 : static_cast<int>(signedValue);
    pos = i;
    return true;
}

void TraceAddress(const Diagnostics& diagnostics, const UnitAddress& address, const char* tag) {
    if (!diagnostics.enabled()) return;
    std::string line;
    AppendInt(line, address.layer);
    line += '.';
    AppendInt(line, address.unit);
    line += tag;
    diagnostics.write(line);
}

// "$$L.U": the layer is the single byte after "$$" and a "." must follow it.
UnitAddress ReadAddress(std::string_view line, std::string_view commandWord,
                        const Diagnostics& diagnostics) {
    UnitAddress address;
    if (commandWord.size() <= 4 || line[3] != '.') return address;
    std::size_t pos = 2;
    if (ReadInt(line, pos, address.layer) && pos < line.size() && line[pos] == '.') {
        ++pos;
        ReadInt(line, pos, address.unit);
    }
    TraceAddress(diagnostics, address, "  GET0\n");
    if (address.layer < 1 || address.layer > kLayerCount) {
        address = {kBadLayer, kBadLayer};
    } else if (address.unit < 1 || address.unit > kMaxUnitsPerLayer) {
        address = {kBadUnit, kBadUnit};
    }
    TraceAddress(diagnostics, address, "  GET1\n");
    return address;
}

void TraceScore(const Diagnostics& diagnostics, double score, double weight, const char* when) {
    if (!diagnostics.enabled()) return;
    std::string line = "RAW=";
    AppendFixed(line, score, 8, 5);
    line += " L3_WW=";
    AppendFixed(line, weight, 8, 5);
    line += ' ';
    line += when;
    line += '\n';
    diagnostics.write(line);
}

void NoteStoredScore(const ObjectTable& table, const UnitAddress& address, double score,
                     const Diagnostics& diagnostics) {
    NoteObjectProblems(table, diagnostics);
    const auto unit = [&] { return std::to_string(address.layer) + "." + std::to_string(address.unit); };
    if (table.CountedObjects == 0) {
        diagnostics.problem(problem::NoObjectCounted, "单元 " + unit() + " 没有可计入的对象：得分记为 1307117.3166，第" +
                                                          std::to_string(address.layer) + "层记为 -3.0 并退出总分");
    } else if (score > 1 || score < 0) {
        diagnostics.problem(problem::ScoreOutOfRange,
                            "单元 " + unit() + " 的得分 " + Fixed(score, 0, 4) + (score > 1 ? " 大于 1" : " 小于 0"));
    }
}

}  // namespace

int SetUnitScore(ScoreStore& store, ObjectTable& table, std::string_view line,
                 const Diagnostics& diagnostics) {
    const std::string_view commandWord = line.substr(0, line.find(' '));
    const UnitAddress address = ReadAddress(line, commandWord, diagnostics);
    const bool addressed = address.layer > 0 && address.unit > 0;
    if (!addressed) {
        if (address.layer == kNotRead) {
            diagnostics.problem(problem::MalformedUnitCommand,
                                "单元指令应写成 $$层面.单元（如 $$4.2），“" + std::string(commandWord) + "”未录入任何得分");
        } else {
            diagnostics.problem(problem::UnitOutOfRange, "“" + std::string(commandWord) +
                                                             "”：层面号和单元号都应为 1～8，本行未录入任何得分");
        }
        if (!diagnostics.enabled()) return 1;  // nothing to store and nobody to tell
    }

    UnitTally tally{};
    std::string resultText;
    const double score = CountFormScore(table, line.substr(commandWord.size()), &tally, nullptr,
                                        diagnostics.enabled() ? &resultText : nullptr);
    if (diagnostics.enabled()) {
        std::string trace = resultText + "\n$$ 返回";
        AppendInt(trace, address.layer);
        trace += '.';
        AppendInt(trace, address.unit);
        trace += '=';
        AppendFixed(trace, score, 8, 6);
        trace += "   end!\n";
        diagnostics.write(trace);
    }
    if (!addressed) return 1;

    const auto layer = static_cast<unsigned>(address.layer - 1);
    const auto unit = static_cast<unsigned>(address.unit - 1);
    const double weight = store.UnitWeights[layer][unit];
    if (!(weight > UnitLineWeightThreshold)) {
        diagnostics.problem(problem::UnitNotAssessed, std::to_string(store.AssessmentLevel) + "级没有或不评单元 " +
                                                          std::to_string(address.layer) + "." + std::to_string(address.unit) +
                                                          "，得分未录入");
        if (diagnostics.enabled()) {
            std::string trace = "错误 喽 l1 c1=";
            AppendInt(trace, address.layer);
            trace += ' ';
            AppendInt(trace, address.unit);
            trace += " \n";
            diagnostics.write(trace);
        }
        return -1;
    }
    if (diagnostics.accounting()) NoteStoredScore(table, address, score, diagnostics);
    double& stored = store.LayerRows[layer].UnitScores[unit];
    TraceScore(diagnostics, stored, weight, "前");
    stored = score;
    TraceScore(diagnostics, stored, weight, "后");
    auto& record = store.UnitTallies[layer][unit];
    for (std::size_t i = 0; i < 6; ++i) record[i] = tally[i];
    return 1;
}

}  // namespace quillon
