// GBK on the way out and back, through the platform's converter: the same on every build, and
// the same as the table scripts are read with.
#include <gtest/gtest.h>

#include <cstdint>

#include "codec/decode.hpp"
#include "codec/encoding.hpp"
#include "scoring/gbk_width.hpp"
#include "scoring/utf8.hpp"
#include "script/builtin_texts.hpp"
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

}  // namespace
}  // namespace quillon::codec
