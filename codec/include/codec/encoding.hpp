// The report's way out: the library works in UTF-8 and the report can go out as GBK (code page
// 936), through the platform's converter (glibc's iconv on Linux, code page 936 on Windows),
// which both builds must apply identically. Scripts come in through decode.hpp.
#pragma once

#include <string>
#include <string_view>

namespace quillon::codec {

enum class OutputEncoding { Utf8, Gbk };

// The report in the chosen encoding; a character GBK cannot hold becomes "?".
std::string EncodeReport(std::string_view utf8, OutputEncoding encoding);

// What is no GBK character becomes U+FFFD, a byte at a time.
std::string GbkToUtf8(std::string_view gbk);
// Text that is not UTF-8 is repaired first; a character GBK cannot hold becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace quillon::codec
