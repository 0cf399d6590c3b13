// Scripts read as glibc reads them: every GB18030 code, and each encoding an editor writes.
#include <gtest/gtest.h>
#include <iconv.h>

#include "codec/decode.hpp"
#include "iconv_reference.hpp"

namespace quillon::codec {
namespace {

// glibc's converter, the reference of the tables: the one code point the bytes decode to, or -1.
long IconvDecode(iconv_t h, std::string bytes) {
    iconv(h, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char* o = out;
    std::size_t outLeft = sizeof out;
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    if (iconv(h, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1) || o - out != 4) return -1;
    const auto* u = reinterpret_cast<unsigned char*>(out);
    return static_cast<long>(u[0]) << 24 | u[1] << 16 | u[2] << 8 | u[3];
}

std::string Utf8Of(long cp) {
    std::string utf32(4, '\0');
    for (int k = 0; k < 4; ++k) utf32[static_cast<std::size_t>(k)] = static_cast<char>(cp >> (24 - 8 * k));
    iconv_t h = iconv_open("UTF-8", "UCS-4BE");
    char out[8];
    char* o = out;
    std::size_t outLeft = sizeof out;
    char* in = utf32.data();
    std::size_t inLeft = 4;
    iconv(h, &in, &inLeft, &o, &outLeft);
    iconv_close(h);
    return std::string(out, static_cast<std::size_t>(o - out));
}

TEST(Codec, Gb18030DecodesEveryCodeAsGlibcDoes) {
    iconv_t h = iconv_open("UCS-4BE", "GB18030");
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(Gb18030ToUtf8(bytes), Utf8Of(IconvDecode(h, bytes))) << std::hex << lead << ' ' << trail;
            ++checked;
        }
    }
    // Four-byte codes: all of the BMP's, and a sample of the rest of Unicode's.
    for (long index = 0; index < 39420 + 200; ++index) {
        const std::string bytes{static_cast<char>(0x81 + index / 12600), static_cast<char>(0x30 + index / 1260 % 10),
                                static_cast<char>(0x81 + index / 10 % 126), static_cast<char>(0x30 + index % 10)};
        const long cp = IconvDecode(h, bytes);
        const std::string ours = Gb18030ToUtf8(bytes);
        if (cp < 0) {
            ASSERT_TRUE(ours.starts_with("\xEF\xBF\xBD")) << index;
        } else {
            ASSERT_EQ(ours, Utf8Of(cp)) << index;
        }
        ++checked;
    }
    for (long n = 0; n <= 0x10FFFF - 0x10000; n += 97) {
        const std::string bytes{static_cast<char>(0x90 + n / 12600), static_cast<char>(0x30 + n / 1260 % 10),
                                static_cast<char>(0x81 + n / 10 % 126), static_cast<char>(0x30 + n % 10)};
        ASSERT_EQ(Gb18030ToUtf8(bytes), Utf8Of(0x10000 + n)) << n;
    }
    iconv_close(h);
    EXPECT_EQ(checked, 23940 + 39620);
}

std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    InputEncoding chosen;
    std::string_view encoding;  // empty: refused as binary
    std::string text;
};

class Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, ReadsEachEncodingAnEditorWrites) {
    const DecodeCase& c = GetParam();
    const DecodedScript decoded = DecodeScript(c.bytes, c.chosen);
    EXPECT_EQ(decoded.binary, c.encoding.empty());
    EXPECT_EQ(decoded.encoding, c.encoding);
    EXPECT_EQ(decoded.text, c.text);
}

const std::string kScript = "mpecho 中文\r\nmpout";

INSTANTIATE_TEST_SUITE_P(
    Codec, Decoding,
    ::testing::Values(
        DecodeCase{"Ascii", "mpout", InputEncoding::Auto, "UTF-8", "mpout"},
        DecodeCase{"Utf8Bom", "\xEF\xBB\xBF中", InputEncoding::Auto, "UTF-8", "中"},
        DecodeCase{"Utf8BomWinsOverGbk", "\xEF\xBB\xBF中", InputEncoding::Gbk, "UTF-8", "中"},
        DecodeCase{"GbkByAuto", "\xD6\xD0\xCE\xC4", InputEncoding::Auto, "GB18030", "中文"},
        DecodeCase{"GbkAsUtf8", "\xD6\xD0", InputEncoding::Utf8, "UTF-8", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        DecodeCase{"EuroByte", "\x80", InputEncoding::Gbk, "GB18030", "€"},
        DecodeCase{"FourByteCharacter", "\x81\x30\x81\x30\x94\x39\xFC\x36", InputEncoding::Auto, "GB18030",
                   "\xC2\x80\xF0\x9F\x98\x80"},
        DecodeCase{"Gb18030TwoByteCells", "\xA2\xE3\xAA\xA1\xA8\xBF\xFE\x50", InputEncoding::Auto, "GB18030",
                   "€\xEE\x80\x80ǹ⺁"},
        DecodeCase{"BadAndCutBytes", "\xD6\xD0\xFF\xD6", InputEncoding::Gbk, "GB18030", "中\xEF\xBF\xBD\xEF\xBF\xBD"},
        DecodeCase{"AsciiTrailIsRead", "\x81 x", InputEncoding::Gbk, "GB18030", "\xEF\xBF\xBD x"},
        DecodeCase{"Utf16LeBom", test::IconvEncode(kScript, "UTF-16"), InputEncoding::Auto, "UTF-16LE", kScript},
        DecodeCase{"Utf16BeBom", "\xFE\xFF" + test::IconvEncode(kScript, "UTF-16BE"), InputEncoding::Auto, "UTF-16BE", kScript},
        DecodeCase{"Utf16LeNoBom", test::IconvEncode(kScript, "UTF-16LE"), InputEncoding::Auto, "UTF-16LE", kScript},
        DecodeCase{"Utf16BeNoBom", test::IconvEncode(kScript, "UTF-16BE"), InputEncoding::Gbk, "UTF-16BE", kScript},
        DecodeCase{"Utf16Emoji", "\xFF\xFE" + test::IconvEncode("😀", "UTF-16LE"), InputEncoding::Auto, "UTF-16LE", "😀"},
        DecodeCase{"Utf16LoneSurrogate", Bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0}), InputEncoding::Auto, "UTF-16LE",
                   "\xEF\xBF\xBD" "a"},
        DecodeCase{"Utf32LeBom", Bytes({0xFF, 0xFE, 0, 0, 'm', 0, 0, 0, 0x2D, 0x4E, 0, 0}), InputEncoding::Auto,
                   "UTF-32LE", "m中"},
        DecodeCase{"Utf32BeBom", Bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 'm', 0, 0x11, 0, 0}), InputEncoding::Auto,
                   "UTF-32BE", "m\xEF\xBF\xBD"},
        DecodeCase{"Binary", Bytes({0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0}), InputEncoding::Auto, "", ""},
        DecodeCase{"BinaryEvenWhenChosen", std::string("ab\0\0cd", 6), InputEncoding::Utf8, "", ""},
        DecodeCase{"OddLengthIsNoUtf16", std::string("m\0p\0o", 5), InputEncoding::Auto, "", ""},
        DecodeCase{"LateNulEndsTheText", std::string(kBinarySniffBytes, 'a') + std::string("\0b", 2), InputEncoding::Auto,
                   "UTF-8", std::string(kBinarySniffBytes, 'a')}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillon::codec
