#include "codec/encoding.hpp"

namespace quillon::codec {

std::string EncodeReport(std::string_view utf8, OutputEncoding encoding) {
    return encoding == OutputEncoding::Gbk ? Utf8ToGbk(utf8) : std::string(utf8);
}

}  // namespace quillon::codec
