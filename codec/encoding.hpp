// The edge encodings: scripts come in as UTF-8 or GBK (code page 936), the library works in
// UTF-8, and the report can go out as GBK. Conversion goes through iconv.
#pragma once

#include <string>
#include <string_view>

namespace quillon::codec {

enum class InputEncoding { Auto, Utf8, Gbk };
enum class OutputEncoding { Utf8, Gbk };

// Script bytes as UTF-8 text. The text ends at the first NUL byte. Auto: a UTF-8 byte-order
// mark or valid UTF-8 means UTF-8 (the mark is dropped), anything else is GBK. Bytes that are
// not valid in the chosen encoding become U+FFFD.
std::string DecodeScript(std::string_view bytes, InputEncoding encoding);

// The report in the chosen encoding; a character GBK cannot hold becomes "?".
std::string EncodeReport(std::string_view utf8, OutputEncoding encoding);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace quillon::codec
