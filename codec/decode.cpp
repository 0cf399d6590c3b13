#include "codec/decode.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

#include "codec/gb18030_table.hpp"
#include "text/utf8.hpp"

namespace quillon::codec {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kEuroSign = 0x20AC;

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The character of a two-byte code, or kNoCharacter.
char32_t TwoByte(unsigned lead, unsigned trail) {
    const int column = static_cast<int>(trail) - (trail < 0x7F ? 0x40 : 0x41);
    const std::uint16_t cell =
        gb18030::kTwoByte[static_cast<std::size_t>((lead - 0x81) * gb18030::kTrailsPerLead + column)];
    if (cell != 0) return cell;
    for (const auto& astral : gb18030::kTwoByteAstral) {
        if (astral.code == (lead << 8 | trail)) return astral.codePoint;
    }
    return kNoCharacter;
}

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

bool IsSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// What a decoder replaced: how much, and the first one's place and length in its input.
struct Losses {
    std::size_t count = 0;
    std::size_t firstAt = 0;
    std::size_t firstLength = 0;

    void add(std::size_t at, std::size_t length) {
        if (count++ == 0) {
            firstAt = at;
            firstLength = length;
        }
    }
};

// Each decoder reserves the most its output can take, so that the text is never moved while it
// grows (a move holds both copies at once); pages never written take no memory.

template <bool BigEndian>
std::string Utf16ToUtf8(std::string_view s, Losses& lost) {
    std::string out;
    out.reserve(s.size() / 2 * 3 + 3);  // a unit takes at most three bytes, a pair four
    std::size_t i = 0;
    for (; i + 2 <= s.size(); i += 2) {
        const std::uint32_t unit = Unit<2, BigEndian>(s, i);
        if (IsHighSurrogate(unit) && i + 4 <= s.size()) {
            const std::uint32_t low = Unit<2, BigEndian>(s, i + 2);
            if (IsLowSurrogate(low)) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10 | (low - 0xDC00)));
                i += 2;
                continue;
            }
        }
        if (IsSurrogate(unit)) {
            AppendUtf8(out, kReplacement);
            lost.add(i, 2);
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (i < s.size()) {  // an odd byte at the end
        AppendUtf8(out, kReplacement);
        lost.add(i, 1);
    }
    return out;
}

template <bool BigEndian>
std::string Utf32ToUtf8(std::string_view s, Losses& lost) {
    std::string out;
    out.reserve(s.size() + 3);
    std::size_t i = 0;
    for (; i + 4 <= s.size(); i += 4) {
        const std::uint32_t unit = Unit<4, BigEndian>(s, i);
        const bool character = unit <= 0x10FFFF && !IsSurrogate(unit);
        AppendUtf8(out, character ? unit : kReplacement);
        if (!character) lost.add(i, 4);
    }
    if (i < s.size()) {
        AppendUtf8(out, kReplacement);
        lost.add(i, s.size() - i);
    }
    return out;
}

std::string Utf8Text(std::string_view s, Losses& lost) {
    if (IsValidUtf8(s)) return std::string(s);
    std::size_t first = 0;
    for (std::size_t length; (length = WellFormedUtf8Length(s, first)) != 0;) first += length;
    std::size_t replaced = 0;
    std::string text = RepairUtf8(s, &replaced);
    lost = Losses{replaced, first, 1};
    return text;
}

std::string Gb18030Text(std::string_view s, Losses& lost) {
    std::string out;
    out.reserve(3 * s.size());  // a byte takes at most three (the euro sign, U+FFFD)
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
            lost.add(i, length);
        }
        AppendUtf8(out, c);
        i += length;
    }
    return out;
}

// Bytes without a mark in UTF-8: its characters of three or four bytes, and the places where
// bytes are no UTF-8 (a run of bad bytes is one place).
struct Utf8Shape {
    std::size_t wide = 0;
    std::size_t badPlaces = 0;
};

Utf8Shape ShapeAsUtf8(std::string_view s) {
    Utf8Shape shape;
    bool inBadRun = false;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = WellFormedUtf8Length(s, i);
        if (length == 0) {
            shape.badPlaces += inBadRun ? 0 : 1;
            inBadRun = true;
            ++i;
            continue;
        }
        shape.wide += length >= 3 ? 1 : 0;
        inBadRun = false;
        i += length;
    }
    return shape;
}

bool ReadsAsUtf8(std::string_view s) {
    if (IsValidUtf8(s)) return true;
    const Utf8Shape shape = ShapeAsUtf8(s);
    return shape.wide >= kUtf8WideCharactersPerBadPlace * shape.badPlaces;
}

enum class Form { Utf8, Gb18030, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

std::size_t UnitBytes(Form form) {
    switch (form) {
        case Form::Utf16Le: case Form::Utf16Be: return 2;
        case Form::Utf32Le: case Form::Utf32Be: return 4;
        case Form::Utf8: case Form::Gb18030: break;
    }
    return 1;
}

std::string_view FormName(Form form) {
    switch (form) {
        case Form::Utf8: return "UTF-8";
        case Form::Gb18030: return "GB18030";
        case Form::Utf16Le: return "UTF-16LE";
        case Form::Utf16Be: return "UTF-16BE";
        case Form::Utf32Le: return "UTF-32LE";
        case Form::Utf32Be: return "UTF-32BE";
    }
    return "UTF-8";
}

// Where the first NUL character starts: a unit of zero bytes.
std::size_t FirstNul(std::string_view s, std::size_t unitBytes) {
    if (unitBytes == 1) return s.find('\0');
    for (std::size_t i = 0; i + unitBytes <= s.size(); i += unitBytes) {
        if (s.substr(i, unitBytes).find_first_not_of('\0') == std::string_view::npos) return i;
    }
    return std::string_view::npos;
}

// The text after a mark of markBytes, up to its first NUL character.
DecodedScript Decode(std::string_view bytes, Form form, std::size_t markBytes) {
    DecodedScript result;
    result.encoding = FormName(form);
    std::string_view body = bytes.substr(markBytes);
    const std::size_t unitBytes = UnitBytes(form);
    if (const std::size_t nul = FirstNul(body, unitBytes); nul != std::string_view::npos) {
        result.endsAtNul = true;
        result.bytesAfterNul = body.size() - nul - unitBytes;
        body = body.substr(0, nul);
    }
    Losses lost;
    switch (form) {
        case Form::Utf8: result.text = Utf8Text(body, lost); break;
        case Form::Gb18030: result.text = Gb18030Text(body, lost); break;
        case Form::Utf16Le: result.text = Utf16ToUtf8<false>(body, lost); break;
        case Form::Utf16Be: result.text = Utf16ToUtf8<true>(body, lost); break;
        case Form::Utf32Le: result.text = Utf32ToUtf8<false>(body, lost); break;
        case Form::Utf32Be: result.text = Utf32ToUtf8<true>(body, lost); break;
    }
    result.replaced = lost.count;
    if (lost.count > 0) {
        result.firstReplacedAt = markBytes + lost.firstAt;
        result.firstReplacedLength = lost.firstLength;
    }
    return result;
}

// UTF-16 without a mark: the start reads as text in one byte order, and in that order its NUL
// bytes are ASCII's high bytes: a quarter of its units are ASCII, or it holds line ends and at
// least one unit in kUtf16UnitsPerLineEndAscii is ASCII (Chinese text with a line end now and
// then). Text here means no NUL or control character but TAB, LF and CR, no lone surrogate, and
// no unit whose high byte is TAB, LF or CR (U+09xx, U+0Axx, U+0Dxx: Indic letters no script
// here holds, but what the line ends of 8-bit text with a stray NUL read as).
constexpr std::size_t kUtf16UnitsPerAscii = 4;
constexpr std::size_t kUtf16UnitsPerLineEndAscii = 128;

struct Utf16Start {
    bool text = false;
    bool lineEnd = false;
    std::size_t ascii = 0;
};

template <bool BigEndian>
Utf16Start ReadUtf16Start(std::string_view head, bool goesOn) {
    Utf16Start start;
    for (std::size_t i = 0; i + 2 <= head.size(); i += 2) {
        const std::uint32_t unit = Unit<2, BigEndian>(head, i);
        if (const std::uint32_t high = unit >> 8; high == '\t' || high == '\n' || high == '\r') return {};
        if (unit < 0x80) {
            if ((unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r') || unit == 0x7F) return {};
            ++start.ascii;
            start.lineEnd |= unit == '\n' || unit == '\r';
        } else if (unit < 0xA0 || unit == 0xFFFE || unit == 0xFFFF || IsLowSurrogate(unit)) {
            return {};
        } else if (IsHighSurrogate(unit)) {
            if (i + 4 > head.size()) {
                if (goesOn) break;  // its low half is past the start
                return {};
            }
            if (!IsLowSurrogate(Unit<2, BigEndian>(head, i + 2))) return {};
            i += 2;
        }
    }
    start.text = true;
    return start;
}

enum class Utf16Order { None, Little, Big };

Utf16Order SniffUtf16(std::string_view s) {
    if (s.size() % 2 != 0) return Utf16Order::None;
    const std::string_view head = s.substr(0, kBinarySniffBytes & ~std::size_t{1});
    const bool goesOn = s.size() > head.size();
    const Utf16Start little = ReadUtf16Start<false>(head, goesOn);
    const Utf16Start big = ReadUtf16Start<true>(head, goesOn);
    const std::size_t units = head.size() / 2;
    const auto plausible = [&](const Utf16Start& start) {
        return start.text && start.ascii > 0 &&
               (start.ascii * kUtf16UnitsPerAscii >= units || (start.lineEnd && start.ascii * kUtf16UnitsPerLineEndAscii >= units));
    };
    // Both orders can read as text (一 is U+4E00, read the other way "N"): the one with more
    // ASCII is the one whose NUL bytes are ASCII's.
    if (plausible(little) && (!plausible(big) || little.ascii >= big.ascii)) return Utf16Order::Little;
    if (plausible(big)) return Utf16Order::Big;
    return Utf16Order::None;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string Gb18030ToUtf8(std::string_view s, std::size_t* replaced) {
    Losses lost;
    std::string text = Gb18030Text(s, lost);
    if (replaced != nullptr) *replaced += lost.count;
    return text;
}

DecodedScript DecodeScript(std::string_view bytes, InputEncoding encoding) {
    if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4))) return Decode(bytes, Form::Utf32Le, 4);
    if (StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4))) return Decode(bytes, Form::Utf32Be, 4);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Decode(bytes, Form::Utf8, 3);
    if (StartsWith(bytes, "\xFF\xFE")) return Decode(bytes, Form::Utf16Le, 2);
    if (StartsWith(bytes, "\xFE\xFF")) return Decode(bytes, Form::Utf16Be, 2);

    if (bytes.substr(0, kBinarySniffBytes).find('\0') != std::string_view::npos) {
        switch (SniffUtf16(bytes)) {
            case Utf16Order::Little: return Decode(bytes, Form::Utf16Le, 0);
            case Utf16Order::Big: return Decode(bytes, Form::Utf16Be, 0);
            case Utf16Order::None: break;
        }
        DecodedScript refused;
        refused.binary = true;
        return refused;
    }
    switch (encoding) {
        case InputEncoding::Utf8: return Decode(bytes, Form::Utf8, 0);
        case InputEncoding::Gbk: return Decode(bytes, Form::Gb18030, 0);
        case InputEncoding::Auto: break;
    }
    // A NUL further on ends the script, so only what comes before it decides.
    return Decode(bytes, ReadsAsUtf8(bytes.substr(0, bytes.find('\0'))) ? Form::Utf8 : Form::Gb18030, 0);
}

}  // namespace quillon::codec
