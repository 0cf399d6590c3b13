// The tables of GB18030 decoding: the two-byte cells and the four-byte codes of the BMP.
#pragma once

#include <array>
#include <cstdint>

namespace quillon::codec::gb18030 {

inline constexpr int kTrailsPerLead = 190;
inline constexpr int kTwoByteCells = 126 * kTrailsPerLead;

struct TwoByteAstral {
    std::uint16_t code;  // lead << 8 | trail
    std::uint32_t codePoint;
};

struct FourByteRun {
    std::int32_t index;
    std::int32_t first;  // -1: the run's codes are no characters
};

extern const std::array<std::uint16_t, kTwoByteCells> kTwoByte;
extern const std::array<TwoByteAstral, 6> kTwoByteAstral;
extern const std::array<FourByteRun, 212> kFourByteRuns;

}  // namespace quillon::codec::gb18030
