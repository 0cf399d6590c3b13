// GBK through glibc's converter: the Linux build's way in and out of code page 936.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "codec/encoding.hpp"
#include "text/utf8.hpp"

namespace quillon::codec {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input; a sequence that cannot be converted is skipped by skipLength(rest)
    // bytes and replaced by substitute.
    template <typename SkipLength>
    std::string convert(std::string_view input, std::string_view substitute,
                        SkipLength skipLength) {
        std::string out;
        out.reserve(input.size() + input.size() / 2 + 16);
        char buffer[4096];
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // EILSEQ or EINVAL: an invalid or unconvertible sequence, or one cut at the end.
            const std::size_t skip = skipLength(std::string_view(in, inLeft));
            out.append(substitute);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t handle_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    Converter converter("UTF-8", "GBK");
    return converter.convert(gbk, kReplacementCharacter, [](std::string_view) { return 1; });
}

std::string Utf8ToGbk(std::string_view utf8) {
    const std::string valid = IsValidUtf8(utf8) ? std::string(utf8) : RepairUtf8(utf8);
    Converter converter("GBK", "UTF-8");
    return converter.convert(valid, "?", [](std::string_view rest) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(rest[0]));
        return length < rest.size() ? length : rest.size();
    });
}

}  // namespace quillon::codec
