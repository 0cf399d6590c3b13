// GBK through Windows' code page 936 converter: the Windows build's way in and out. Each
// direction is asked of the converter once per code, into a table made at first use and never
// changed. Two choices keep it byte for byte with glibc's GBK, the Linux build's: the
// user-defined areas, which code page 936 maps to the private use area, are no characters, and
// nothing is written by a best fit.
#include <windows.h>

#include <array>
#include <cstdint>

#include "codec/encoding.hpp"
#include "text/utf8.hpp"

namespace quillon::codec {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr UINT kCodePage = 936;

bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// Byte pairs lead 0x81-0xFE, trail 0x40-0xFE, as the characters they stand for (0: none).
class DecodeTable {
public:
    DecodeTable() {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t unit[2] = {};
                const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, 2, unit, 2);
                if (n == 1 && !IsPrivateUse(unit[0])) pairs_[Index(lead, trail)] = static_cast<char16_t>(unit[0]);
            }
        }
        wchar_t unit[2] = {};
        const char single = '\x80';  // the euro sign, the one byte above ASCII that stands alone
        if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, &single, 1, unit, 2) == 1) euro_ = unit[0];
    }
    char16_t pair(unsigned lead, unsigned trail) const {
        return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE ? pairs_[Index(lead, trail)] : 0;
    }
    char16_t euro() const { return euro_; }

private:
    static unsigned Index(unsigned lead, unsigned trail) { return (lead - 0x81) * 191 + (trail - 0x40); }
    std::array<char16_t, 126 * 191> pairs_{};
    char16_t euro_ = 0;
};

// Every character of the Basic Multilingual Plane as its GBK bytes (0: none; below 0x100 one byte).
class EncodeTable {
public:
    EncodeTable() {
        for (unsigned c = 0x80; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || IsPrivateUse(c)) continue;
            const wchar_t unit = static_cast<wchar_t>(c);
            char bytes[4] = {};
            BOOL usedDefault = FALSE;
            const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, sizeof bytes, nullptr,
                                              &usedDefault);
            if (usedDefault || n < 1 || n > 2) continue;
            codes_[c] = n == 1 ? static_cast<unsigned char>(bytes[0])
                               : static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                            static_cast<unsigned char>(bytes[1]));
        }
    }
    std::uint16_t code(char32_t c) const { return c < 0x10000 ? codes_[c] : 0; }

private:
    std::array<std::uint16_t, 0x10000> codes_{};
};

const DecodeTable& Decoding() {
    static const DecodeTable table;
    return table;
}

const EncodeTable& Encoding() {
    static const EncodeTable table;
    return table;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    const DecodeTable& table = Decoding();
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    for (std::size_t i = 0; i < gbk.size();) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        if (lead == 0x80 && table.euro() != 0) {
            AppendUtf8(out, table.euro());
            ++i;
            continue;
        }
        const char16_t c = i + 1 < gbk.size() ? table.pair(lead, static_cast<unsigned char>(gbk[i + 1])) : 0;
        AppendUtf8(out, c != 0 ? c : kReplacement);
        i += c != 0 ? 2 : 1;  // a byte that starts no character is replaced alone
    }
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
    const std::string repaired = IsValidUtf8(utf8) ? std::string() : RepairUtf8(utf8);
    const std::string_view text = repaired.empty() ? utf8 : std::string_view(repaired);
    const EncodeTable& table = Encoding();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCharacter(text, i);
        const std::uint16_t code = table.code(c);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (code == 0) {
            out += '?';
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return out;
}

}  // namespace quillon::codec
