// GBK on the way out and back, through the platform's converter: the same on every build, and
// the same as the table scripts are read with.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "codec/decode.hpp"
#include "codec/encoding.hpp"
#include "text/gbk_width.hpp"
#include "text/utf8.hpp"
#include "app/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::codec {
namespace {

std::string Utf8Of(char32_t c) {
    std::string text;
    AppendUtf8(text, c);
    return text;
}

TEST(Codec, ClosingNoticeIs68BytesInGbk) {
    EXPECT_EQ(Utf8ToGbk(test::kClosingNotice).size(), 68u);
}

TEST(Codec, LayerNamesAndMarkersKeepTheirGbkWidths) {
    const std::string report = ScoreScript("mpinit=2 2\r\nmpout");
    const std::string gbk = Utf8ToGbk(report.substr(report.find("@@1")));
    // "@@1" + name in 12 bytes + " " + "%8.6f" + " # " + three 9-byte fields + CR LF
    const std::size_t end = gbk.find("\r\n");
    EXPECT_EQ(end, 3u + 12 + 1 + 9 + 3 + 9 * 3);
    EXPECT_EQ(gbk.substr(0, 3), "@@1");
    EXPECT_EQ(gbk.substr(3, 12), "\xCE\xEF\xC0\xED\xBA\xCD\xBB\xB7\xBE\xB3  ");  // 物理和环境
}

TEST(Codec, ReportRoundTripsThroughGbk) {
    for (const auto& sample : BuiltInSamples) {
        const std::string report = ScoreScript(sample.text);
        EXPECT_EQ(GbkToUtf8(Utf8ToGbk(report)), report) << sample.label;
    }
}

TEST(Codec, CharactersGbkCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("a😀b中"), "a?b\xD6\xD0");
    EXPECT_EQ(Utf8ToGbk("\xEF\xBF\xBD"), "?");
    EXPECT_EQ(Utf8ToGbk("\xff"), "?");  // not UTF-8 at all
}

// A file saved in GBK reads as it always did, and every character of it goes out as the same
// two bytes: all 21,791 double-byte codes.
TEST(Codec, EveryGbkCodeReadsAndWritesBack) {
    int codes = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = GbkToUtf8(bytes);
            if (text.find("\xEF\xBF\xBD") != std::string::npos) continue;  // not a GBK code
            ASSERT_EQ(Gb18030ToUtf8(bytes), text) << std::hex << lead << ' ' << trail;
            ASSERT_EQ(Utf8ToGbk(text), bytes) << std::hex << lead << ' ' << trail;
            ++codes;
        }
    }
    EXPECT_EQ(codes, 21791);
    EXPECT_EQ(Utf8ToGbk(Gb18030ToUtf8("\x80")), "\x80");
}

// Both converters, glibc's on Linux and code page 936 on Windows, give the same bytes for every
// byte pair and every character: one digest of each direction, taken of glibc's.
std::uint64_t Digest(std::uint64_t digest, std::string_view bytes) {
    for (const char c : bytes) digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    return (digest ^ 0xFF) * 0x100000001B3ull;  // ends each piece
}

TEST(Codec, EveryBuildConvertsGbkAlike) {
    std::uint64_t read = 0xCBF29CE484222325ull;
    for (int first = 0; first <= 0xFF; ++first) {
        read = Digest(read, GbkToUtf8(std::string(1, static_cast<char>(first))));
        if (first < 0x80) continue;
        for (int second = 0; second <= 0xFF; ++second) {
            read = Digest(read, GbkToUtf8(std::string{static_cast<char>(first), static_cast<char>(second)}));
        }
    }
    std::uint64_t written = 0xCBF29CE484222325ull;
    for (char32_t c = 0; c < 0x110000; c += c < 0x10000 ? 1 : 0x3FF) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        written = Digest(written, Utf8ToGbk(Utf8Of(c)));
    }
    EXPECT_EQ(read, 14407898887295352187ull);
    EXPECT_EQ(written, 13461468041504571051ull);
}

TEST(Codec, GbkWidthIsTheLengthGbkWrites) {
    // Every BMP character: 2 where glibc's GBK writes two bytes, else 1 (ASCII, the euro sign's
    // single byte, or the "?" written for what GBK cannot hold).
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string utf8 = Utf8Of(c);
        const std::string gbk = Utf8ToGbk(utf8);
        ASSERT_EQ(GbkWidth(utf8), gbk == "?" && c != '?' ? 1 : gbk.size()) << std::hex << static_cast<long>(c);
    }
    EXPECT_EQ(GbkWidth("😀"), 1u);
    EXPECT_EQ(GbkPrefixLength("ab中文", 3), 2u);  // never half a character
    EXPECT_EQ(GbkPrefixLength("ab中文", 4), 5u);
    EXPECT_EQ(GbkPrefixLength("€€€", 2), 6u);
}

// Text in UTF-16 of either byte order, without a mark.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    InputEncoding chosen;
    std::string_view encoding;  // empty: refused as binary
    std::string text;
    std::size_t replaced = 0;
};

class Reading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Reading, TellsTheEncodingAndCountsWhatWasNoCharacter) {
    const ReadCase& c = GetParam();
    const DecodedScript decoded = DecodeScript(c.bytes, c.chosen);
    EXPECT_EQ(decoded.binary, c.encoding.empty());
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(decoded.replaced, c.replaced);
}

const std::string kScript = "mpecho 中文\r\nmpout";
const std::u16string kScript16 = u"mpecho 中文\r\nmpout";
const std::u16string kChineseHeavy =
    u"# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\n"
    u"# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\n"
    u"mpout";

INSTANTIATE_TEST_SUITE_P(
    Codec, Reading,
    ::testing::Values(
        ReadCase{"Ascii", "mpout", InputEncoding::Auto, "UTF-8", "mpout"},
        ReadCase{"Utf8Bom", "\xEF\xBB\xBF中", InputEncoding::Auto, "UTF-8", "中"},
        ReadCase{"Utf8BomWinsOverGbk", "\xEF\xBB\xBF中", InputEncoding::Gbk, "UTF-8", "中"},
        ReadCase{"GbkByAuto", "\xD6\xD0\xCE\xC4", InputEncoding::Auto, "GB18030", "中文"},
        ReadCase{"GbkAsUtf8", "\xD6\xD0", InputEncoding::Utf8, "UTF-8", "\xEF\xBF\xBD\xEF\xBF\xBD", 2},
        ReadCase{"EuroByte", "\x80", InputEncoding::Gbk, "GB18030", "€"},
        ReadCase{"FourByteCharacter", "\x81\x30\x81\x30\x94\x39\xFC\x36", InputEncoding::Auto, "GB18030",
                 "\xC2\x80\xF0\x9F\x98\x80"},
        ReadCase{"Gb18030TwoByteCells", "\xA2\xE3\xAA\xA1\xA8\xBF\xFE\x50", InputEncoding::Auto, "GB18030",
                 "€\xEE\x80\x80ǹ⺁"},
        ReadCase{"BadAndCutBytes", "\xD6\xD0\xFF\xD6", InputEncoding::Gbk, "GB18030", "中\xEF\xBF\xBD\xEF\xBF\xBD", 2},
        ReadCase{"AsciiTrailIsRead", "\x81 x", InputEncoding::Gbk, "GB18030", "\xEF\xBF\xBD x", 1},
        ReadCase{"Utf16LeBom", "\xFF\xFE" + Utf16(kScript16, false), InputEncoding::Auto, "UTF-16LE", kScript},
        ReadCase{"Utf16BeBom", "\xFE\xFF" + Utf16(kScript16, true), InputEncoding::Auto, "UTF-16BE", kScript},
        ReadCase{"Utf16LeNoBom", Utf16(kScript16, false), InputEncoding::Auto, "UTF-16LE", kScript},
        ReadCase{"Utf16BeNoBom", Utf16(kScript16, true), InputEncoding::Gbk, "UTF-16BE", kScript},
        ReadCase{"Utf16Emoji", "\xFF\xFE" + Utf16(u"😀", false), InputEncoding::Auto, "UTF-16LE", "😀"},
        ReadCase{"Utf16LoneSurrogateAtTheEnd", Bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0}), InputEncoding::Auto, "UTF-16LE",
                 "\xEF\xBF\xBD" "a", 1},
        ReadCase{"Utf32LeBom", Bytes({0xFF, 0xFE, 0, 0, 'm', 0, 0, 0, 0x2D, 0x4E, 0, 0}), InputEncoding::Auto,
                 "UTF-32LE", "m中"},
        ReadCase{"Utf32BeBom", Bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 'm', 0, 0x11, 0, 0}), InputEncoding::Auto,
                 "UTF-32BE", "m\xEF\xBF\xBD", 1},
        ReadCase{"Binary", Bytes({0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0}), InputEncoding::Auto, "", ""},
        ReadCase{"BinaryEvenWhenChosen", std::string("ab\0\0cd", 6), InputEncoding::Utf8, "", ""},
        ReadCase{"OddLengthIsNoUtf16", std::string("m\0p\0o", 5), InputEncoding::Auto, "", ""},
        ReadCase{"LateNulEndsTheText", std::string(kBinarySniffBytes, 'a') + std::string("\0b", 2), InputEncoding::Auto,
                 "UTF-8", std::string(kBinarySniffBytes, 'a')},
        // UTF-8 but for a few bad bytes is UTF-8, each bad byte a U+FFFD; GBK stays GBK.
        ReadCase{"Utf8WithASurrogate", "mpecho 测试\n# \xED\xA0\x80\n", InputEncoding::Auto, "UTF-8",
                 "mpecho 测试\n# \uFFFD\uFFFD\uFFFD\n", 3},
        ReadCase{"Utf8CutInACharacter", "mpecho 中文\xE6\xB5", InputEncoding::Auto, "UTF-8", "mpecho 中文\uFFFD\uFFFD", 2},
        ReadCase{"Utf8WithALatin1Byte", "mpecho caf\xE9 中文说明\r\nmpout", InputEncoding::Auto, "UTF-8",
                 "mpecho caf\uFFFD 中文说明\r\nmpout", 1},
        ReadCase{"GbkPhrase", Utf8ToGbk("mpecho 实时编辑实时算分"), InputEncoding::Auto, "GB18030", "mpecho 实时编辑实时算分"},
        ReadCase{"ShortGbkPhrase", Utf8ToGbk("计算。"), InputEncoding::Auto, "GB18030", "计算。"},
        ReadCase{"GbkScript", Utf8ToGbk(BuiltInSamples[3].text), InputEncoding::Auto, "GB18030",
                 std::string(BuiltInSamples[3].text)},
        ReadCase{"Utf8InsistedOnGbk", "\xD6\xD0\xCE\xC4", InputEncoding::Utf8, "UTF-8", "\uFFFD\uFFFD\uFFFD\uFFFD", 4},
        ReadCase{"BadGbkByte", "\xD6\xD0\xFF", InputEncoding::Gbk, "GB18030", "中\uFFFD", 1},
        // UTF-16 without a mark: with 一 (U+4E00, a NUL byte where ASCII has none), and with
        // far less ASCII than Chinese.
        ReadCase{"Utf16LeWithYi", Utf16(u"mpecho 一\r\nmpout", false), InputEncoding::Auto, "UTF-16LE", "mpecho 一\r\nmpout"},
        ReadCase{"Utf16BeWithYi", Utf16(u"mpecho 一\r\nmpout", true), InputEncoding::Auto, "UTF-16BE", "mpecho 一\r\nmpout"},
        ReadCase{"Utf16LeChineseHeavy", Utf16(kChineseHeavy, false), InputEncoding::Auto, "UTF-16LE",
                 "# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\n"
                 "# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\nmpout"},
        ReadCase{"Utf16BeChineseHeavy", Utf16(kChineseHeavy, true), InputEncoding::Utf8, "UTF-16BE",
                 "# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\n"
                 "# 这是中文注释，说明本系统的测评范围和对象以及测评的依据和方法\r\nmpout"},
        ReadCase{"Utf16LoneSurrogate", "\xFF\xFE" + Utf16(u"mpecho ", false) + "\x3D\xD8" + Utf16(u" x", false),
                 InputEncoding::Auto, "UTF-16LE", "mpecho \uFFFD x", 1},
        // A stray NUL in 8-bit text, at either parity, is no UTF-16: the file is refused.
        ReadCase{"StrayNul", std::string("mpout\r\n@@1 0 0 0\r\n\0mpecho x\r\nmpout\r\n", 37), InputEncoding::Auto, "", ""},
        ReadCase{"StrayNulShifted", std::string("#mpout\r\n@@1 0 0 0\r\n\0mpecho x\r\nmpout\r\n", 38), InputEncoding::Auto, "", ""},
        ReadCase{"StrayNulAfterLf", std::string("mpout\n@@1 0 0 0\n\0mpecho x\nmpout\n", 32), InputEncoding::Auto, "", ""},
        ReadCase{"Elf", std::string("\x7F" "ELF\2\1\1\0\0\0\0\0\0\0\0\0\3\0\x3E\0\1\0\0\0", 24), InputEncoding::Auto, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The text ends at its first NUL character; what the file holds after it is counted in its own
// bytes, whatever the encoding.
TEST(Codec, TextEndsAtItsFirstNulCharacter) {
    const std::string spaces(kBinarySniffBytes, ' ');
    struct NulCase {
        std::string bytes;
        std::string text;
        std::size_t after;
    };
    for (const NulCase& c : {NulCase{spaces + '\0' + Utf8ToGbk("中文"), spaces, 4},
                             NulCase{spaces + "中" + '\0' + "中文", spaces + "中", 6},
                             NulCase{"\xFF\xFE" + Utf16(std::u16string(u"mpout\0中文", 8), false), "mpout", 4},
                             NulCase{std::string("\0\0\xFE\xFF\0\0\0m\0\0\0\0\0\0\0x", 16), "m", 4}}) {
        const DecodedScript decoded = DecodeScript(c.bytes, InputEncoding::Auto);
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_TRUE(decoded.endsAtNul);
        EXPECT_EQ(decoded.bytesAfterNul, c.after);
    }
    EXPECT_FALSE(DecodeScript("mpout", InputEncoding::Auto).endsAtNul);
}

// Where the first U+FFFD came from, in the file's bytes (the mark included).
TEST(Codec, TheFirstReplacementIsPlacedInTheFile) {
    const DecodedScript utf8 = DecodeScript("mpecho 测试\n# \xED\xA0\x80\n", InputEncoding::Auto);
    EXPECT_EQ(utf8.firstReplacedAt, 16u);
    EXPECT_EQ(utf8.firstReplacedLength, 1u);
    const DecodedScript utf16 = DecodeScript(std::string("\xFF\xFE" "a\0b\0\0\xDC", 8), InputEncoding::Auto);
    EXPECT_EQ(utf16.firstReplacedAt, 6u);
    EXPECT_EQ(utf16.firstReplacedLength, 2u);
    const DecodedScript gbk = DecodeScript("ab\xD6\xD0\xFF", InputEncoding::Gbk);
    EXPECT_EQ(gbk.firstReplacedAt, 4u);
    EXPECT_EQ(gbk.firstReplacedLength, 1u);
}

}  // namespace
}  // namespace quillon::codec
