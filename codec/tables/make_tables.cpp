// Writes the decoding and width tables of gb18030_table.cpp and gbk_repertoire.cpp from glibc's
// iconv, the reference the tests compare them with. Not part of the build; regenerate with
//   g++ -std=c++20 -O2 -o /tmp/make_tables codec/tables/make_tables.cpp
//   /tmp/make_tables two-byte   (the two-byte cells of GB18030)
//   /tmp/make_tables four-byte  (the runs of the four-byte codes below U+10000)
//   /tmp/make_tables gbk        (the ranges of characters GBK writes in two bytes)
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The one code point the bytes decode to, or -1.
long Decode(iconv_t h, const std::string& bytes) {
    iconv(h, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* o = out;
    std::size_t outLeft = sizeof out;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    if (iconv(h, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 || o - out != 4) return -1;
    const auto* u = reinterpret_cast<unsigned char*>(out);
    return static_cast<long>(u[0]) << 24 | u[1] << 16 | u[2] << 8 | u[3];
}

int EncodedLength(iconv_t h, std::uint32_t cp) {
    iconv(h, nullptr, nullptr, nullptr, nullptr);
    unsigned char in[4] = {static_cast<unsigned char>(cp >> 24), static_cast<unsigned char>(cp >> 16),
                           static_cast<unsigned char>(cp >> 8), static_cast<unsigned char>(cp)};
    char out[16];
    char* o = out;
    std::size_t outLeft = sizeof out;
    char* i = reinterpret_cast<char*>(in);
    std::size_t inLeft = 4;
    if (iconv(h, &i, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    return static_cast<int>(o - out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    int n = 0;
    if (what == "two-byte") {
        iconv_t h = iconv_open("UCS-4BE", "GB18030");
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F) continue;
                long cp = Decode(h, std::string{static_cast<char>(lead), static_cast<char>(trail)});
                if (cp > 0xFFFF) {
                    std::fprintf(stderr, "{0x%02X%02X, 0x%lX},\n", lead, trail, cp);
                    cp = 0;
                }
                std::printf("0x%04lX,%s", cp < 0 ? 0 : cp, ++n % 12 ? "" : "\n");
            }
        }
    } else if (what == "four-byte") {
        iconv_t h = iconv_open("UCS-4BE", "GB18030");
        long previous = -2;
        for (long index = 0; index < 39420; ++index) {
            const std::string bytes{static_cast<char>(0x81 + index / 12600), static_cast<char>(0x30 + index / 1260 % 10),
                                    static_cast<char>(0x81 + index / 10 % 126), static_cast<char>(0x30 + index % 10)};
            const long cp = Decode(h, bytes);
            const long delta = cp < 0 ? -1 : cp - index;
            if (delta != previous) std::printf("{%ld, %ld},%s", index, cp, ++n % 6 ? " " : "\n");
            previous = delta;
        }
    } else if (what == "gbk") {
        iconv_t h = iconv_open("GBK", "UCS-4BE");
        long start = -1;
        for (std::uint32_t cp = 0x80; cp <= 0x10000; ++cp) {
            const bool twoBytes = cp < 0x10000 && EncodedLength(h, cp) == 2;
            if (twoBytes && start < 0) start = cp;
            if (!twoBytes && start >= 0) {
                std::printf("{0x%04lX, 0x%04X},%s", start, cp - 1, ++n % 6 ? " " : "\n");
                start = -1;
            }
        }
    } else {
        std::fprintf(stderr, "usage: make_tables two-byte|four-byte|gbk\n");
        return 2;
    }
    std::printf("\n");
    return 0;
}
