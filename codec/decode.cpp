#include "codec/decode.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

#include "codec/gb18030_table.hpp"
#include "scoring/utf8.hpp"

namespace quillon::codec {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEuroSign = 0x20AC;

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

char32_t TwoByte(unsigned lead, unsigned trail) {
    const int column = static_cast<int>(trail) - (trail < 0x7F ? 0x40 : 0x41);
    const std::uint16_t cell =
        gb18030::kTwoByte[static_cast<std::size_t>((lead - 0x81) * gb18030::kTrailsPerLead + column)];
    if (cell != 0) return cell;
    for (const auto& astral : gb18030::kTwoByteAstral) {
        if (astral.code == (lead << 8 | trail)) return astral.codePoint;
    }
    return kReplacement;
}

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The character of a four-byte code, or kNoCharacter.
char32_t FourByte(unsigned b1, unsigned b2, unsigned b3, unsigned b4) {
    const long index = ((static_cast<long>(b1) * 10 + (b2 - 0x30)) * 126 + (b3 - 0x81)) * 10 + (b4 - 0x30);
    const long bmpIndex = index - ((0x81L * 10) * 126) * 10;
    if (b1 <= 0x84) {
        const auto run = std::upper_bound(gb18030::kFourByteRuns.begin(), gb18030::kFourByteRuns.end(), bmpIndex,
                                          [](long i, const gb18030::FourByteRun& r) { return i < r.index; }) - 1;
        if (bmpIndex >= 39420 || run->first < 0) return kNoCharacter;
        return static_cast<char32_t>(run->first + (bmpIndex - run->index));
    }
    const long astralIndex = index - ((0x90L * 10) * 126) * 10;
    if (b1 < 0x90 || astralIndex > 0x10FFFF - 0x10000) return kNoCharacter;
    return static_cast<char32_t>(0x10000 + astralIndex);
}

template <int UnitBytes, bool BigEndian>
std::uint32_t Unit(std::string_view s, std::size_t i) {
    std::uint32_t unit = 0;
    for (int k = 0; k < UnitBytes; ++k) {
        const unsigned b = Byte(s, i + static_cast<std::size_t>(BigEndian ? k : UnitBytes - 1 - k));
        unit = unit << 8 | b;
    }
    return unit;
}

template <bool BigEndian>
std::string Utf16ToUtf8(std::string_view s, std::size_t& replaced) {
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    std::size_t i = 0;
    for (; i + 2 <= s.size(); i += 2) {
        const std::uint32_t unit = Unit<2, BigEndian>(s, i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 4 <= s.size()) {
            const std::uint32_t low = Unit<2, BigEndian>(s, i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10 | (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
            ++replaced;
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (i < s.size()) {  // an odd byte at the end
        AppendUtf8(out, kReplacement);
        ++replaced;
    }
    return out;
}

template <bool BigEndian>
std::string Utf32ToUtf8(std::string_view s, std::size_t& replaced) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    for (; i + 4 <= s.size(); i += 4) {
        const std::uint32_t unit = Unit<4, BigEndian>(s, i);
        const bool character = unit <= 0x10FFFF && !(unit >= 0xD800 && unit <= 0xDFFF);
        AppendUtf8(out, character ? unit : kReplacement);
        if (!character) ++replaced;
    }
    if (i < s.size()) {
        AppendUtf8(out, kReplacement);
        ++replaced;
    }
    return out;
}

std::string Utf8Text(std::string_view s, std::size_t& replaced) {
    return IsValidUtf8(s) ? std::string(s) : RepairUtf8(s, &replaced);
}

enum class Utf16Order { None, Little, Big };

// UTF-16 without a mark: every NUL byte of the start sits at one parity, and they are many
// (text with ASCII in it); odd lengths and NUL pairs rule it out.
Utf16Order SniffUtf16(std::string_view s) {
    if (s.size() % 2 != 0) return Utf16Order::None;
    const std::size_t head = std::min(s.size(), kBinarySniffBytes) & ~std::size_t{1};
    std::size_t evenNuls = 0, oddNuls = 0;
    for (std::size_t i = 0; i < head; i += 2) {
        evenNuls += s[i] == '\0';
        oddNuls += s[i + 1] == '\0';
        if (s[i] == '\0' && s[i + 1] == '\0') return Utf16Order::None;
    }
    const std::size_t units = head / 2;
    if (oddNuls > 0 && evenNuls == 0 && oddNuls * 4 >= units) return Utf16Order::Little;
    if (evenNuls > 0 && oddNuls == 0 && evenNuls * 4 >= units) return Utf16Order::Big;
    return Utf16Order::None;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string Gb18030ToUtf8(std::string_view s, std::size_t* replaced) {
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    std::size_t bad = 0;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned b = Byte(s, i);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        char32_t c = kNoCharacter;
        std::size_t length = 1;
        if (b == 0x80) {
            c = kEuroSign;
        } else if (b < 0xFF && i + 1 < s.size()) {
            const unsigned t = Byte(s, i + 1);
            if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFE)) {
                c = TwoByte(b, t);
                length = 2;
            } else if (t >= 0x30 && t <= 0x39 && i + 3 < s.size()) {
                const unsigned b3 = Byte(s, i + 2), b4 = Byte(s, i + 3);
                if (b3 >= 0x81 && b3 <= 0xFE && b4 >= 0x30 && b4 <= 0x39) {
                    c = FourByte(b, t, b3, b4);
                    if (c != kNoCharacter) length = 4;
                }
            }
        }
        if (c == kNoCharacter) {
            c = kReplacement;
            ++bad;
        }
        AppendUtf8(out, c);
        i += length;
    }
    if (replaced != nullptr) *replaced += bad;
    return out;
}

DecodedScript DecodeScript(std::string_view bytes, InputEncoding encoding) {
    DecodedScript result;
    const auto decodeAs = [&](std::string_view name, std::string_view body, auto convert) {
        result.encoding = name;
        result.text = convert(body, result.replaced);
        return result;
    };
    if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4))) return decodeAs("UTF-32LE", bytes.substr(4), Utf32ToUtf8<false>);
    if (StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4))) return decodeAs("UTF-32BE", bytes.substr(4), Utf32ToUtf8<true>);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return decodeAs("UTF-8", bytes.substr(3), Utf8Text);
    if (StartsWith(bytes, "\xFF\xFE")) return decodeAs("UTF-16LE", bytes.substr(2), Utf16ToUtf8<false>);
    if (StartsWith(bytes, "\xFE\xFF")) return decodeAs("UTF-16BE", bytes.substr(2), Utf16ToUtf8<true>);

    if (bytes.substr(0, kBinarySniffBytes).find('\0') != std::string_view::npos) {
        switch (SniffUtf16(bytes)) {
            case Utf16Order::Little: return decodeAs("UTF-16LE", bytes, Utf16ToUtf8<false>);
            case Utf16Order::Big: return decodeAs("UTF-16BE", bytes, Utf16ToUtf8<true>);
            case Utf16Order::None: break;
        }
        result.binary = true;
        return result;
    }
    if (encoding == InputEncoding::Auto) {
        // A NUL further on ends the script, so only what comes before it decides.
        const std::size_t nul = bytes.find('\0');
        if (!IsValidUtf8(bytes.substr(0, nul))) {
            encoding = InputEncoding::Gbk;
        } else if (nul == std::string_view::npos) {  // valid as a whole: no second look
            result.encoding = "UTF-8";
            result.text = std::string(bytes);
            return result;
        } else {
            encoding = InputEncoding::Utf8;
        }
    }
    if (encoding == InputEncoding::Utf8) return decodeAs("UTF-8", bytes, Utf8Text);
    return decodeAs("GB18030", bytes, [](std::string_view s, std::size_t& replaced) { return Gb18030ToUtf8(s, &replaced); });
}

}  // namespace quillon::codec
