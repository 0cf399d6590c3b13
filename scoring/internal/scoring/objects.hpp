// Assessment objects: a line's tokens (verdict codes such as VVX, plain numbers, weight
// suffixes, "max(" expressions) become one score per object and the tallies behind them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "scoring/limits.hpp"

namespace quillon {

inline constexpr int kObjectSlots = 20;
inline constexpr int kMaxObjectTokens = 16;           // later tokens of a line are ignored
inline constexpr double NoObjectMark = -2.0;          // slot without a score
inline constexpr double kObjectScoreFloor = -0.1;     // a score below it is no object and ends the list

// A token that the scan read only in part: what of it was read. Offsets are in the token, whose
// bytes stand where they stand in the line (folding changes no byte's place).
enum class PartRead : std::uint8_t {
    Whole,
    Code,         // a verdict code or "---" among other text: VVVXXX reads as VVV, VVX0.5 as VVX
    Number,       // a number followed by other text: 0.5abc reads as 0.5, 0x10 as 0
    MaxArgument,  // a max( argument of which only its number was read: max(0.5abc,0.6)
    MaxRest,      // text after a max('s two arguments: max(0.1,0.2,0.9) reads as max(0.1,0.2)
};

struct TokenPart {
    PartRead kind = PartRead::Whole;
    std::uint8_t start = 0;   // what was read: a code, a number; MaxRest: the ignored text
    std::uint8_t length = 0;
    std::uint8_t wordStart = 0;  // the word it was read from: the part before the first "*", a
    std::uint8_t wordEnd = 0;    // max( argument; MaxRest: the token
};

struct TokenSpan {
    std::uint32_t start = 0;   // in the object text
    std::uint32_t length = 0;  // as written, before any cut
};

// A token of at most kMaxTokenBytes GBK bytes: up to four UTF-8 bytes a GBK byte.
inline constexpr std::size_t kMaxTokenUtf8Bytes = 4 * kMaxTokenBytes;

struct ObjectToken {
    std::array<char, kMaxTokenUtf8Bytes> bytes{};  // past `size`, whatever was there
    std::uint8_t size = 0;
    std::string_view view() const { return {bytes.data(), size}; }
};

// Whether a token, folded as the scan folds it, is a max( expression ("MAX(" is none). Tokens
// are short: a comparison of their first bytes is no call to memcmp.
inline bool IsMaxToken(std::string_view folded) {
    return folded.size() >= 4 && folded[0] == 'm' && folded[1] == 'a' && folded[2] == 'x' && folded[3] == '(';
}

// The weights a "*" suffix sets, as bits.
inline constexpr std::uint8_t kWeight12 = 1, kWeight15 = 2, kWeight02 = 4, kWeight05 = 8;

// What scoring one token does, apart from the slot it stands in: a token's folded bytes alone
// decide it.
struct TokenOutcome {
    enum class Effect : std::uint8_t { Counted, NotApplicable, IgnoredMax, Stop };
    enum class Tally : std::uint8_t { None, Compliant, PartlyCompliant, NonCompliant };
    double score = NoObjectMark;  // Counted and Stop
    Effect effect = Effect::Counted;
    Tally tally = Tally::None;
    std::uint8_t exactWeights = 0;
    bool suffixed = false;
    bool unknownWeight = false;
    bool stopAtNumber = false;
    TokenPart part;  // Counted and NotApplicable
};

// Outcomes of the short tokens a run has scored: an assessor's script uses a handful of them
// again and again. A token of up to 16 bytes is its key; a slot holds the last token that fell in it.
class TokenMemo {
public:
    static constexpr std::size_t kLongestKey = 16;
    const TokenOutcome& outcomeOf(const ObjectToken& token);

private:
    struct Entry {
        std::uint64_t low = 0, high = 0;
        std::uint8_t size = 0;  // 0: empty, no token is
        TokenOutcome outcome;
    };
    std::array<Entry, 64> entries_{};
    TokenOutcome longToken_;
};

// The workspace of one line's objects; each run owns one and every scan overwrites it.
struct ObjectTable {
    std::array<ObjectToken, kObjectSlots> TokenText{};
    std::int32_t TokenCount = 0;  // slots of TokenText the last scan filled
    std::array<double, kObjectSlots> ObjectScores = [] {
        std::array<double, kObjectSlots> none{};
        none.fill(NoObjectMark);
        return none;
    }();
    std::array<bool, kObjectSlots> Counted{};  // the object entered the unit score
    std::int32_t CountedObjects = 0;
    double ScoreSum = 0;
    std::int32_t NotApplicable = 0;
    std::int32_t Compliant = 0;
    std::int32_t PartlyCompliant = 0;
    std::int32_t NonCompliant = 0;
    // What the scan did besides scoring, for whoever asks: where each token stands in the
    // object text, what ended the list, what it passed over.
    std::array<TokenSpan, kObjectSlots> TokenSpans{};
    int StopSlot = -1;             // the token that ended the list, if one did
    bool StopAtNumber = false;     // and it was a number, below -0.1 once weighted
    int TokensBeyondLimit = 0;     // tokens after the sixteenth, never looked at
    std::uint32_t IgnoredMax = 0;  // bit k: the max( token in slot k was not counted
    std::uint32_t CutTokens = 0;   // bit k: the token in slot k was cut to kMaxTokenBytes
    std::uint32_t UnknownWeights = 0;  // bit k: the token in slot k has a "*" suffix none of the four
    std::uint32_t Suffixed = 0;    // bit k: the token in slot k, not a max( one, has a "*" suffix
    // Of each token, not a max( one: the kWeight bits of its "*" suffixes that are weights as
    // meant (IsWeightSuffix), whatever the order of the tests makes of them.
    std::array<std::uint8_t, kObjectSlots> ExactWeights{};
    // Counted and not-applicable tokens read only in part (bit k for slot k), and what was read.
    std::uint32_t PartlyRead = 0;
    std::array<TokenPart, kObjectSlots> ReadParts{};
    TokenMemo Memo;  // kept from line to line
};

// What a "*" suffix is read as: one of the weights as written in full ("1.2", "1.5", "0.2",
// "0.5"), or empty when it sets no weight. "0.25" reads as "0.2", "50" as "0.5".
std::string_view WeightReadAs(std::string_view suffix);
// Whether a suffix is one of the weights as meant: "1.2", "12", "1.5", "15", "0.5", "5", ...
bool IsWeightSuffix(std::string_view suffix);

// Scans the objects of a line into the table; returns the number of counted objects.
std::int32_t ScoreObjects(ObjectTable& table, std::string_view text);

// A "max(a,b)" token: results are the larger value, the first and the second argument's.
// Returns 1 when well formed; otherwise all three results are -3.0 and it returns 0.
std::int32_t EvaluateMax(std::string_view token, std::array<double, 3>& results);

}  // namespace quillon
