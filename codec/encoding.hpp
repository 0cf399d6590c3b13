// The report's way out: the library works in UTF-8 and the report can go out as GBK (code page
// 936), through iconv. Scripts come in through decode.hpp.
#pragma once

#include <string>
#include <string_view>

namespace quillon::codec {

enum class OutputEncoding { Utf8, Gbk };

// The report in the chosen encoding; a character GBK cannot hold becomes "?".
std::string EncodeReport(std::string_view utf8, OutputEncoding encoding);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace quillon::codec
