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

void TraceAddress(const Diagnostics& trace, const UnitAddress& address, const char* tag) {
    if (!trace.enabled()) return;
    std::string line;
    AppendInt(line, address.layer);
    line += '.';
    AppendInt(line, address.unit);
    line += tag;
    trace.write(line);
}

// "$$L.U": the layer is the single byte after "$$" and a "." must follow it.
UnitAddress ReadAddress(std::string_view line, std::string_view commandWord,
                        const Diagnostics& trace) {
    UnitAddress address{kNotRead, kNotRead, 0};
    if (commandWord.size() <= 4 || line[3] != '.') return address;
    std::size_t pos = 2;
    if (ReadInt(line, pos, address.layer) && pos < line.size() && line[pos] == '.') {
        ++pos;
        ReadInt(line, pos, address.unit);
    }
    address.length = pos;
    TraceAddress(trace, address, "  GET0\n");
    if (address.layer < 1 || address.layer > kLayerCount) {
        address = {kBadLayer, kBadLayer, address.length};
    } else if (address.unit < 1 || address.unit > kMaxUnitsPerLayer) {
        address = {kBadUnit, kBadUnit, address.length};
    }
    TraceAddress(trace, address, "  GET1\n");
    return address;
}

void TraceScore(const Diagnostics& trace, double score, double weight, const char* when) {
    if (!trace.enabled()) return;
    std::string line = "RAW=";
    AppendFixed(line, score, 8, 5);
    line += " L3_WW=";
    AppendFixed(line, weight, 8, 5);
    line += ' ';
    line += when;
    line += '\n';
    trace.write(line);
}

}  // namespace

UnitAddress UnitAddressOf(std::string_view line) {
    return ReadAddress(line, line.substr(0, line.find(' ')), Diagnostics{});
}

UnitLineOutcome SetUnitScore(ScoreStore& store, ObjectTable& table, std::string_view line, const Diagnostics& trace) {
    const std::string_view commandWord = line.substr(0, line.find(' '));
    const UnitAddress address = ReadAddress(line, commandWord, trace);
    UnitLineOutcome outcome;
    outcome.commandLength = commandWord.size();
    outcome.addressLength = address.length;
    outcome.layer = address.layer;
    outcome.unit = address.unit;
    const bool addressed = address.layer > 0 && address.unit > 0;
    if (!addressed) outcome.effect = address.layer == kNotRead ? UnitLineEffect::Malformed : UnitLineEffect::OutOfRange;

    UnitTally tally{};
    std::string resultText;
    const double score = CountFormScore(table, line.substr(commandWord.size()), &tally, nullptr,
                                        trace.enabled() ? &resultText : nullptr);
    outcome.score = score;
    if (trace.enabled()) {
        std::string text = resultText + "\n$$ 返回";
        AppendInt(text, address.layer);
        text += '.';
        AppendInt(text, address.unit);
        text += '=';
        AppendFixed(text, score, 8, 6);
        text += "   end!\n";
        trace.write(text);
    }
    if (!addressed) return outcome;

    const auto layer = static_cast<unsigned>(address.layer - 1);
    const auto unit = static_cast<unsigned>(address.unit - 1);
    const double weight = store.UnitWeights[layer][unit];
    if (!(weight > UnitLineWeightThreshold)) {
        outcome.effect = UnitLineEffect::NotAssessed;
        outcome.result = -1;
        if (trace.enabled()) {
            std::string text = "错误 喽 l1 c1=";
            AppendInt(text, address.layer);
            text += ' ';
            AppendInt(text, address.unit);
            text += " \n";
            trace.write(text);
        }
        return outcome;
    }
    outcome.effect = UnitLineEffect::Stored;
    double& stored = store.LayerRows[layer].UnitScores[unit];
    TraceScore(trace, stored, weight, "前");
    stored = score;
    TraceScore(trace, stored, weight, "后");
    auto& record = store.UnitTallies[layer][unit];
    for (std::size_t i = 0; i < 6; ++i) record[i] = tally[i];
    store.UnitTalliesUnset = false;
    return outcome;
}

}  // namespace quillon
