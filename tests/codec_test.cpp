// The edge encodings: decoding script bytes and writing the report as GBK.
#include <gtest/gtest.h>

#include "codec/encoding.hpp"
#include "script/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::codec {
namespace {

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

TEST(Codec, AutoDetectsUtf8OrGbk) {
    EXPECT_EQ(DecodeScript("mpout", InputEncoding::Auto), "mpout");
    EXPECT_EQ(DecodeScript("\xEF\xBB\xBF中", InputEncoding::Auto), "中");
    EXPECT_EQ(DecodeScript("\xD6\xD0\xCE\xC4", InputEncoding::Auto), "中文");
    EXPECT_EQ(DecodeScript("\xD6\xD0\xCE\xC4", InputEncoding::Utf8), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(DecodeScript("中", InputEncoding::Gbk), GbkToUtf8("中"));
}

TEST(Codec, DecodingEndsAtTheFirstNulAndRepairsBadBytes) {
    EXPECT_EQ(DecodeScript(std::string("ab\0cd", 5), InputEncoding::Auto), "ab");
    EXPECT_EQ(DecodeScript("\xD6\xD0\xFF", InputEncoding::Gbk), "中\xEF\xBF\xBD");
    EXPECT_EQ(DecodeScript("\xD6", InputEncoding::Gbk), "\xEF\xBF\xBD");  // cut character
    EXPECT_EQ(DecodeScript("\x80", InputEncoding::Gbk), "€");
    // UTF-16 with its byte-order mark is neither: it ends at its first NUL byte.
    EXPECT_EQ(DecodeScript(std::string("\xFF\xFEm\0p\0", 6), InputEncoding::Auto),
              "\xEF\xBF\xBD\xEF\xBF\xBDm");
}

}  // namespace
}  // namespace quillon::codec
