#include "scoring/objects.hpp"

#include "scoring/byte_words.hpp"
#include "scoring/decimal.hpp"
#include "text/gbk_width.hpp"
#include "text/utf8.hpp"

#include <algorithm>
#include <bit>

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

// Three bytes as one number, so that a window of the token is compared with a code at once.
constexpr std::uint32_t Key(std::string_view three) {
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        key = key << 8 | (i < three.size() ? static_cast<unsigned char>(three[i]) : 0u);
    }
    return key;
}

constexpr std::array<std::uint32_t, kVerdictCodes.size()> kVerdictKeys = [] {
    std::array<std::uint32_t, kVerdictCodes.size()> keys{};
    for (std::size_t r = 0; r < keys.size(); ++r) keys[r] = Key(kVerdictCodes[r].code);
    return keys;
}();

// The bit of kVerdictCodes that a three-byte window is, if any.
constexpr unsigned CodeBit(std::uint32_t window) {
    switch (window) {
        case kVerdictKeys[0]: return 1u << 0;
        case kVerdictKeys[1]: return 1u << 1;
        case kVerdictKeys[2]: return 1u << 2;
        case kVerdictKeys[3]: return 1u << 3;
        case kVerdictKeys[4]: return 1u << 4;
        case kVerdictKeys[5]: return 1u << 5;
        case kVerdictKeys[6]: return 1u << 6;
        default: return 0;
    }
}
static_assert(kVerdictKeys.size() == 7);

// A short text equal to a short word, compared without a call.
bool Equals(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (text[i] != word[i]) return false;
    }
    return true;
}

bool ContainsHalf(std::string_view text) {  // "*0.5"
    for (std::size_t i = 0; i + 4 <= text.size(); ++i) {
        if (text[i] == '*' && text[i + 1] == '0' && text[i + 2] == '.' && text[i + 3] == '5') return true;
    }
    return false;
}

// Eight bytes as the scan reads them: only V and X fold, so "MAX(" stays unrecognised. 'V' and
// 'X' differ from 'v' and 'x' in bit 0x20 only.
std::uint64_t Folded(std::uint64_t eight) {
    return eight | (bytes::BytesEqual(eight, 'V') | bytes::BytesEqual(eight, 'X')) >> 2;
}

void CopyFolded(std::string_view word, ObjectToken& token) {
    std::size_t i = 0;
    for (; i + 8 <= word.size(); i += 8) bytes::Store(token.bytes.data() + i, Folded(bytes::Load(word.data() + i)));
    for (; i < word.size(); ++i) {
        const char c = word[i];
        token.bytes[i] = c == 'V' ? 'v' : (c == 'X' ? 'x' : c);
    }
    token.size = static_cast<std::uint8_t>(word.size());
}

// What the substring tests ask of a token, found in one pass over it.
struct TokenFeatures {
    unsigned verdictCodes = 0;  // bit r: code r of kVerdictCodes occurs
    bool notApplicable = false; // "---" occurs
    bool weight12 = false, weight15 = false, weight02 = false, weight05 = false;
    bool unknownWeight = false;  // a "*" that begins none of the weight suffixes as written
    std::uint8_t exactWeights = 0;  // bit 1 << w: a suffix is kWeights[w] as meant
    std::size_t firstStar = std::string_view::npos;
};

// The weights in the order of their tests; weight w is bit 1 << w of ExactWeights.
constexpr std::array<std::string_view, 4> kWeights = {"1.2", "1.5", "0.2", "0.5"};
static_assert(kWeight12 == 1 << 0 && kWeight15 == 1 << 1 && kWeight02 == 1 << 2 && kWeight05 == 1 << 3);

// Which of kWeights a suffix sets, by its first bytes ("*1.25" sets 1.2, "*2x" 0.2), or -1.
int WeightIndex(std::string_view suffix) {
    const auto at = [&](std::size_t i) { return i < suffix.size() ? suffix[i] : '\0'; };
    const char b = at(0), c = at(1), d = at(2);
    if (b == '1' && (c == '2' || (c == '.' && d == '2'))) return 0;
    if (b == '1' && (c == '5' || (c == '.' && d == '5'))) return 1;
    if (b == '2' || (b == '0' && c == '.' && d == '2')) return 2;
    if (b == '5' || (b == '0' && c == '.' && d == '5')) return 3;
    return -1;
}

// A code is three bytes of the token: only the windows wholly inside it are looked at.
TokenFeatures Scan(std::string_view t) {
    TokenFeatures f;
    const char* const p = t.data();
    for (std::size_t i = 0; i + 3 <= t.size(); ++i) {
        const char a = p[i];
        if (a != 'v' && a != 'x' && a != '\\' && a != '-') continue;  // starts no code
        const std::uint32_t window = Key(std::string_view(p + i, 3));
        f.verdictCodes |= CodeBit(window);
        f.notApplicable |= window == Key("---");
    }
    // Tokens are short: a loop finds a "*" sooner than a call would.
    const auto findStar = [&](std::size_t from) {
        while (from < t.size() && p[from] != '*') ++from;
        return from < t.size() ? from : std::string_view::npos;
    };
    for (std::size_t i = findStar(0); i != std::string_view::npos;) {
        if (f.firstStar == std::string_view::npos) f.firstStar = i;
        const std::size_t next = findStar(i + 1);
        const std::string_view suffix = t.substr(i + 1, next - i - 1);
        const int weight = WeightIndex(suffix);
        if (!IsWeightSuffix(suffix)) {
            f.unknownWeight = true;
        } else {
            f.exactWeights |= static_cast<std::uint8_t>(1u << weight);
        }
        switch (weight) {
            case 0: f.weight12 = true; break;
            case 1: f.weight15 = true; break;
            case 2: f.weight02 = true; break;
            case 3: f.weight05 = true; break;
            default: break;
        }
        i = next;
    }
    return f;
}

// The last code of kVerdictCodes that occurs: it sets the score.
const VerdictCode& Winner(const TokenFeatures& features) {
    return kVerdictCodes[static_cast<unsigned>(std::bit_width(features.verdictCodes)) - 1];
}

double VerdictScore(const TokenFeatures& features) {
    return features.verdictCodes == 0 ? NoObjectMark : Winner(features).score;
}

std::string_view WinningCode(const TokenFeatures& features) { return Winner(features).code; }

// Suffixes combine in the order of these tests, not of the text.
double SuffixWeight(const TokenFeatures& features) {
    double weight = 1.0;
    if (features.weight12) weight = 1.2;
    if (features.weight15) weight = 1.5;
    if (features.weight02) weight *= 0.2;
    if (features.weight05) weight *= 0.5;
    return weight;
}

struct ArgumentRead {
    double value;
    bool whole;                // a number, or a number and "*0.5"
    std::size_t numberLength;  // the bytes the number took, 0 for none
};

ArgumentRead ReadArgument(std::string_view text) {
    const auto number = ReadDecimal(text);
    double value = number ? number->value : -1.0;
    const bool halved = ContainsHalf(text);
    if (halved) value *= 0.5;
    const std::size_t length = number ? number->length : 0;
    return {value, length == text.size() || (halved && Equals(text.substr(length), "*0.5")), length};
}

// A max( token's arguments are its first two words, with commas and ")" separating as blanks
// do; what follows them is never read.
struct MaxWords {
    std::array<std::string_view, 2> arguments;
    std::string_view rest;  // after the second argument, separators trimmed
};

bool SeparatesMaxWords(char c) { return c == ' ' || c == ',' || c == ')'; }

MaxWords SplitMax(std::string_view token) {
    const std::string_view rest = token.substr(4, kMaxTokenUtf8Bytes - 4);
    MaxWords words;
    std::size_t pos = 0;
    for (auto& word : words.arguments) {
        while (pos < rest.size() && SeparatesMaxWords(rest[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < rest.size() && !SeparatesMaxWords(rest[pos])) ++pos;
        word = rest.substr(start, pos - start);
    }
    while (pos < rest.size() && SeparatesMaxWords(rest[pos])) ++pos;
    std::size_t end = rest.size();
    while (end > pos && SeparatesMaxWords(rest[end - 1])) --end;
    words.rest = rest.substr(pos, end - pos);
    return words;
}

std::uint8_t OffsetIn(std::string_view token, std::string_view part) {
    return static_cast<std::uint8_t>(part.data() - token.data());
}

// A max( token as read: its two words and what each was read as. Only a token that begins
// "max(" and holds a "," and a ")" is read; any other is never counted.
struct MaxRead {
    bool wellFormed = false;
    MaxWords words;
    std::array<ArgumentRead, 2> arguments;  // set only when well formed: zeroing costs a block store

    double value() const { return std::max(arguments[0].value, arguments[1].value); }
};

MaxRead ReadMax(std::string_view token) {
    MaxRead read;
    if (!IsMaxToken(token)) return read;
    bool comma = false, close = false;  // one pass for both, without a call: tokens are short
    for (const char c : token) {
        comma |= c == ',';
        close |= c == ')';
    }
    read.wellFormed = comma && close;
    if (!read.wellFormed) return read;
    read.words = SplitMax(token);
    for (std::size_t i = 0; i < 2; ++i) read.arguments[i] = ReadArgument(read.words.arguments[i]);
    return read;
}

// What of a counted max( token went unread: the first argument that is more than a number, or
// else the text after the two arguments.
TokenPart MaxPartRead(std::string_view token, const MaxRead& read) {
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string_view argument = read.words.arguments[i];
        if (argument.empty() || read.arguments[i].whole) continue;
        const std::uint8_t start = OffsetIn(token, argument);
        return {PartRead::MaxArgument, start, static_cast<std::uint8_t>(read.arguments[i].numberLength), start,
                static_cast<std::uint8_t>(start + argument.size())};
    }
    const std::string_view rest = read.words.rest;
    if (rest.empty()) return {};
    return {PartRead::MaxRest, OffsetIn(token, rest), static_cast<std::uint8_t>(rest.size()), 0,
            static_cast<std::uint8_t>(token.size())};
}

void NotePart(ObjectTable& table, int slot, const TokenPart& part) {
    if (part.kind == PartRead::Whole) return;
    table.PartlyRead |= 1u << slot;
    table.ReadParts[static_cast<unsigned>(slot)] = part;
}

// A code that a longer token was read as, where it first occurs.
TokenPart CodePart(std::string_view token, std::string_view cut, std::string_view code) {
    return {PartRead::Code, static_cast<std::uint8_t>(token.find(code)), static_cast<std::uint8_t>(code.size()), 0,
            static_cast<std::uint8_t>(cut.size())};
}

// Only the slots the last scan filled hold anything: the rest are as they were made.
void Reset(ObjectTable& table) {
    for (int slot = 0; slot < table.TokenCount; ++slot) {
        const auto k = static_cast<unsigned>(slot);
        table.TokenText[k].size = 0;
        table.ObjectScores[k] = NoObjectMark;
        table.Counted[k] = false;
    }
    table.TokenCount = 0;
    table.CountedObjects = 0;
    table.ScoreSum = 0;
    table.NotApplicable = table.Compliant = table.PartlyCompliant = table.NonCompliant = 0;
    table.StopSlot = -1;
    table.StopAtNumber = false;
    table.TokensBeyondLimit = 0;
    table.IgnoredMax = 0;
    table.CutTokens = 0;
    table.UnknownWeights = 0;
    table.Suffixed = 0;
    table.PartlyRead = 0;
}


int SplitTokens(ObjectTable& table, std::string_view text) {
    int count = 0;
    std::size_t pos = 0;
    while (true) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos == text.size()) break;
        if (count == kMaxObjectTokens) {  // counted only: never looked at
            ++table.TokensBeyondLimit;
            while (pos < text.size() && text[pos] != ' ') ++pos;
            continue;
        }
        const std::size_t start = pos;
        ObjectToken& token = table.TokenText[static_cast<unsigned>(count)];
        if (pos + 8 <= text.size()) {  // most words are short: found, folded and copied at once
            const std::uint64_t eight = bytes::Load(text.data() + pos);
            const unsigned inWord = bytes::FirstByteEqual(eight, ' ');
            if (inWord < 8) {
                bytes::Store(token.bytes.data(), Folded(eight));
                token.size = static_cast<std::uint8_t>(inWord);
                table.TokenSpans[static_cast<unsigned>(count++)] = {static_cast<std::uint32_t>(start), inWord};
                pos += inWord;
                continue;
            }
        }
        while (pos + 8 <= text.size()) {  // eight bytes at a time to the next blank
            const unsigned inWord = bytes::FirstByteEqual(bytes::Load(text.data() + pos), ' ');
            pos += inWord;
            if (inWord < 8) break;
        }
        while (pos < text.size() && text[pos] != ' ') ++pos;
        std::string_view word = text.substr(start, pos - start);
        table.TokenSpans[static_cast<unsigned>(count)] = {static_cast<std::uint32_t>(start),
                                                          static_cast<std::uint32_t>(word.size())};
        const std::size_t kept = GbkPrefixLength(word, kMaxTokenBytes);
        if (kept < word.size()) table.CutTokens |= 1u << count;
        CopyFolded(word.substr(0, kept), token);
        ++count;
    }
    return count;
}

}  // namespace

// What follows a "*" up to the next one: the four weights, with or without their point.
bool IsWeightSuffix(std::string_view suffix) {
    const auto tenth = [](char c) { return c == '2' || c == '5'; };
    switch (suffix.size()) {
        case 1: return tenth(suffix[0]);                                                // 5, 2
        case 2: return suffix[0] == '1' && tenth(suffix[1]);                            // 12, 15
        case 3: return suffix[1] == '.' && tenth(suffix[2]) &&                          // 1.2, 1.5, 0.5, 0.2
                       (suffix[0] == '1' || suffix[0] == '0');
        default: return false;
    }
}

std::string_view WeightReadAs(std::string_view suffix) {
    const int index = WeightIndex(suffix);
    return index < 0 ? std::string_view() : kWeights[static_cast<unsigned>(index)];
}

std::int32_t EvaluateMax(std::string_view token, std::array<double, 3>& results) {
    const MaxRead read = ReadMax(token);
    if (!read.wellFormed) {
        results = {-3.0, -3.0, -3.0};
        return 0;
    }
    const double first = read.arguments[0].value;
    const double second = read.arguments[1].value;
    results = {second > first ? second : first, first, second};
    return 1;
}

namespace {

TokenOutcome::Tally TallyOf(double score) {
    if (score > 0.99) return TokenOutcome::Tally::Compliant;
    if (score < 0.01) return TokenOutcome::Tally::NonCompliant;
    if (score > 0.01 && score < 0.99) return TokenOutcome::Tally::PartlyCompliant;
    return TokenOutcome::Tally::None;  // 0.01 and 0.99 themselves: counted, in no column
}

TokenOutcome Counted(double score) {
    TokenOutcome outcome;
    outcome.score = score;
    outcome.tally = TallyOf(score);
    return outcome;
}

// One token, folded, scored as the list reads it.
TokenOutcome ScoreToken(std::string_view folded) {
    TokenOutcome outcome;
    if (IsMaxToken(folded)) {
        const MaxRead max = ReadMax(folded);
        if (!max.wellFormed || max.value() < -0.000001) {
            outcome.effect = TokenOutcome::Effect::IgnoredMax;
        } else {
            // An expression counts as partly compliant whatever its value.
            outcome.score = max.value();
            outcome.tally = TokenOutcome::Tally::PartlyCompliant;
            outcome.part = MaxPartRead(folded, max);
        }
        return outcome;
    }
    // Most objects are a code alone ("VVX") or a number alone ("0.6"): scored as the scan
    // below would, without it.
    if (const unsigned code = folded.size() == 3 ? CodeBit(Key(folded)) : 0; code != 0) {
        return Counted(kVerdictCodes[static_cast<unsigned>(std::bit_width(code)) - 1].score);
    }
    // A number never holds a "*": read here, it is what the part before the first one reads.
    const auto number = ReadDecimal(folded);
    if (number && number->length == folded.size() && !(number->value < kObjectScoreFloor)) {
        return Counted(number->value);
    }
    const TokenFeatures features = Scan(folded);
    outcome.unknownWeight = features.unknownWeight;
    outcome.suffixed = features.firstStar != std::string_view::npos;
    outcome.exactWeights = features.exactWeights;
    const std::string_view cut = folded.substr(0, features.firstStar);
    if (features.notApplicable) {
        outcome.effect = TokenOutcome::Effect::NotApplicable;
        if (cut.find_first_not_of('-') != std::string_view::npos) outcome.part = CodePart(folded, cut, "---");
        return outcome;
    }
    double score = VerdictScore(features);
    const double weight = SuffixWeight(features);
    std::size_t numberLength = 0;
    if (score < -1.9 && number) {
        score = number->value;
        numberLength = number->length;
    }
    if (score < 0.999) score *= weight;  // full marks are never weighted down
    outcome.score = score;
    if (score < kObjectScoreFloor) {  // not an object: the list ends here
        outcome.effect = TokenOutcome::Effect::Stop;
        outcome.stopAtNumber = numberLength > 0;
        return outcome;
    }
    outcome.tally = TallyOf(score);
    if (features.verdictCodes != 0) {
        const std::string_view code = WinningCode(features);
        if (!Equals(cut, code)) outcome.part = CodePart(folded, cut, code);
    } else if (numberLength < cut.size()) {
        outcome.part = {PartRead::Number, 0, static_cast<std::uint8_t>(numberLength), 0,
                        static_cast<std::uint8_t>(cut.size())};
    }
    return outcome;
}

// Enters a token's outcome in its slot; false where the token ends the list.
bool Enter(ObjectTable& table, int slot, const TokenOutcome& outcome) {
    const auto k = static_cast<unsigned>(slot);
    const std::uint32_t bit = 1u << slot;
    table.ExactWeights[k] = outcome.exactWeights;
    if (outcome.unknownWeight) table.UnknownWeights |= bit;
    if (outcome.suffixed) table.Suffixed |= bit;
    switch (outcome.effect) {
        case TokenOutcome::Effect::IgnoredMax: table.IgnoredMax |= bit; return true;
        case TokenOutcome::Effect::NotApplicable:
            ++table.NotApplicable;
            NotePart(table, slot, outcome.part);
            return true;
        case TokenOutcome::Effect::Stop:
            table.ObjectScores[k] = outcome.score;
            table.StopSlot = slot;
            table.StopAtNumber = outcome.stopAtNumber;
            return false;
        case TokenOutcome::Effect::Counted: break;
    }
    table.ObjectScores[k] = outcome.score;
    switch (outcome.tally) {
        case TokenOutcome::Tally::Compliant: ++table.Compliant; break;
        case TokenOutcome::Tally::PartlyCompliant: ++table.PartlyCompliant; break;
        case TokenOutcome::Tally::NonCompliant: ++table.NonCompliant; break;
        case TokenOutcome::Tally::None: break;
    }
    table.Counted[k] = true;
    ++table.CountedObjects;
    table.ScoreSum += outcome.score;
    NotePart(table, slot, outcome.part);
    return true;
}

}  // namespace

const TokenOutcome& TokenMemo::outcomeOf(const ObjectToken& token) {
    const std::size_t size = token.size;
    if (size > kLongestKey) return longToken_ = ScoreToken(token.view());
    // The bytes past the token's end are whatever an earlier token left: masked off.
    const auto keep = [](std::size_t n) { return n >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1; };
    const std::uint64_t low = bytes::Load(token.bytes.data()) & keep(size);
    const std::uint64_t high = size > 8 ? bytes::Load(token.bytes.data() + 8) & keep(size - 8) : 0;
    const std::uint64_t mixed = (low ^ (high * 0x9E3779B97F4A7C15ull) ^ size) * 0xD6E8FEB86659FD93ull;
    Entry& entry = entries_[mixed >> 58];
    if (entry.size != size || entry.low != low || entry.high != high) {
        entry.low = low;
        entry.high = high;
        entry.size = static_cast<std::uint8_t>(size);
        entry.outcome = ScoreToken(token.view());
    }
    return entry.outcome;
}

std::int32_t ScoreObjects(ObjectTable& table, std::string_view text) {
    Reset(table);
    const int tokens = SplitTokens(table, text);
    table.TokenCount = tokens;
    for (int slot = 0; slot < tokens; ++slot) {
        if (!Enter(table, slot, table.Memo.outcomeOf(table.TokenText[static_cast<unsigned>(slot)]))) break;
    }
    return table.CountedObjects;
}

}  // namespace quillon
