#include "scoring/objects.hpp"

#include "scoring/decimal.hpp"

namespace quillon {
namespace {

struct VerdictCode {
    std::string_view code;  // after case folding
    double score;
};

// Tested in this order; when a token holds several codes the last match wins.
constexpr std::array<VerdictCode, 7> kVerdictCodes = {{
    {"xxx", 0.0},
    {"\\--", 0.0},
    {"x--", 0.0},
    {"vxx", 0.25},
    {"vvx", 0.5},
    {"vxv", 0.5},
    {"vvv", 1.0},
}};

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Only V and X fold; "MAX(" stays unrecognised.
void FoldVerdictLetters(ObjectToken& token) {
    for (std::size_t i = 0; i < token.size; ++i) {
        char& c = token.bytes[i];
        if (c == 'V') c = 'v';
        if (c == 'X') c = 'x';
    }
}

double VerdictScore(std::string_view token) {
    double score = NoObjectMark;
    for (const auto& verdict : kVerdictCodes) {
        if (Contains(token, verdict.code)) score = verdict.score;
    }
    return score;
}

// Suffixes combine in the order of these tests, not of the text.
double SuffixWeight(std::string_view token) {
    double weight = 1.0;
    if (Contains(token, "*12") || Contains(token, "*1.2")) weight = 1.2;
    if (Contains(token, "*15") || Contains(token, "*1.5")) weight = 1.5;
    if (Contains(token, "*2") || Contains(token, "*0.2")) weight *= 0.2;
    if (Contains(token, "*5") || Contains(token, "*0.5")) weight *= 0.5;
    return weight;
}

double ArgumentValue(std::string_view text) {
    const auto number = ReadDecimal(text);
    double value = number ? number->value : -1.0;
    if (Contains(text, "*0.5")) value *= 0.5;
    return value;
}

void Tally(ObjectTable& table, int slot, double score) {
    if (score > 0.99) {
        ++table.Compliant;
    } else if (score < 0.01) {
        ++table.NonCompliant;
    } else if (score > 0.01 && score < 0.99) {
        ++table.PartlyCompliant;
    }
    table.Counted[static_cast<unsigned>(slot)] = true;
    ++table.CountedObjects;
    table.ScoreSum += score;
}

int SplitTokens(ObjectTable& table, std::string_view text) {
    int count = 0;
    std::size_t pos = 0;
    while (count < kMaxObjectTokens) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos == text.size()) break;
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != ' ') ++pos;
        const std::string_view word = text.substr(start, pos - start).substr(0, kMaxTokenBytes);
        ObjectToken& token = table.TokenText[static_cast<unsigned>(count++)];
        word.copy(token.bytes.data(), word.size());
        token.size = static_cast<std::uint8_t>(word.size());
    }
    return count;
}

}  // namespace

std::int32_t EvaluateMax(std::string_view token, std::array<double, 3>& results) {
    if (token.substr(0, 4) != "max(" || !Contains(token, ",") || !Contains(token, ")")) {
        results = {-3.0, -3.0, -3.0};
        return 0;
    }
    std::array<char, kMaxTokenBytes + 1> copy{};
    const std::string_view arguments = token.substr(4, kMaxTokenBytes - 4);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        copy[i] = (arguments[i] == ',' || arguments[i] == ')') ? ' ' : arguments[i];
    }
    const std::string_view rest(copy.data(), arguments.size());
    std::string_view words[2];
    std::size_t pos = 0;
    for (auto& word : words) {
        while (pos < rest.size() && rest[pos] == ' ') ++pos;
        const std::size_t start = pos;
        while (pos < rest.size() && rest[pos] != ' ') ++pos;
        word = rest.substr(start, pos - start);
    }
    const double first = ArgumentValue(words[0]);
    const double second = ArgumentValue(words[1]);
    results = {second > first ? second : first, first, second};
    return 1;
}

std::int32_t ScoreObjects(ObjectTable& table, std::string_view text) {
    table = ObjectTable{};
    table.ObjectScores.fill(NoObjectMark);
    const int tokens = SplitTokens(table, text);

    for (int slot = 0; slot < tokens; ++slot) {
        ObjectToken& token = table.TokenText[static_cast<unsigned>(slot)];
        double& score = table.ObjectScores[static_cast<unsigned>(slot)];
        FoldVerdictLetters(token);
        const std::string_view folded = token.view();

        if (folded.substr(0, 4) == "max(") {
            std::array<double, 3> results{};
            EvaluateMax(folded, results);
            if (results[0] >= -0.000001) {
                // An expression counts as partly compliant whatever its value.
                score = results[0];
                table.Counted[static_cast<unsigned>(slot)] = true;
                ++table.PartlyCompliant;
                ++table.CountedObjects;
                table.ScoreSum += score;
            }
            continue;
        }
        if (Contains(folded, "---")) {
            ++table.NotApplicable;
            continue;
        }
        score = VerdictScore(folded);
        const double weight = SuffixWeight(folded);
        const std::string_view cut = folded.substr(0, folded.find('*'));
        if (score < -1.9) {
            if (const auto number = ReadDecimal(cut)) score = number->value;
        }
        if (score < 0.999) score *= weight;  // full marks are never weighted down
        if (score < -0.1) break;             // not an object: the list ends here
        Tally(table, slot, score);
    }
    return table.CountedObjects;
}

}  // namespace quillon
