// Scripts read as glibc reads them: every GB18030 code.
#include <gtest/gtest.h>
#include <iconv.h>

#include "codec/decode.hpp"

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


}  // namespace
}  // namespace quillon::codec
