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

struct TokenSpan {
    std::uint32_t start = 0;   // in the object text
    std::uint32_t length = 0;  // as written, before any cut
};

// A token of at most kMaxTokenBytes GBK bytes: up to four UTF-8 bytes a GBK byte.
inline constexpr std::size_t kMaxTokenUtf8Bytes = 4 * kMaxTokenBytes;

struct ObjectToken {
    // Three NULs always follow the token, so that the scan can read three bytes past any of
    // its bytes.
    std::array<char, kMaxTokenUtf8Bytes + 3> bytes{};
    std::uint8_t size = 0;
    std::string_view view() const { return {bytes.data(), size}; }
};

// The workspace of one line's objects; each run owns one and every scan overwrites it.
struct ObjectTable {
    std::array<ObjectToken, kObjectSlots> TokenText{};
    std::int32_t TokenCount = 0;  // slots of TokenText the last scan filled
    std::array<double, kObjectSlots> ObjectScores{};
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
    int TokensBeyondLimit = 0;     // tokens after the sixteenth, never looked at
    std::uint32_t IgnoredMax = 0;  // bit k: the max( token in slot k was not counted
    std::uint32_t CutTokens = 0;   // bit k: the token in slot k was cut to kMaxTokenBytes
    std::uint32_t UnknownWeights = 0;  // bit k: the token in slot k has a "*" suffix none of the four
};

// Scans the objects of a line into the table; returns the number of counted objects.
std::int32_t ScoreObjects(ObjectTable& table, std::string_view text);

// A "max(a,b)" token: results are the larger value, the first and the second argument's.
// Returns 1 when well formed; otherwise all three results are -3.0 and it returns 0.
std::int32_t EvaluateMax(std::string_view token, std::array<double, 3>& results);

}  // namespace quillon
