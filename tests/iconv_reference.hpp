// Text in other encodings through glibc's converter, the reference the codec is held to.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace quillon::test {

// UTF-8 text in another encoding, through glibc's converter (the reference of the codec).
inline std::string IconvEncode(std::string_view utf8, const char* encoding) {
    iconv_t h = iconv_open(encoding, "UTF-8");
    std::string in(utf8), out(in.size() * 4 + 8, '\0');
    char* i = in.data();
    char* o = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    iconv(h, &i, &inLeft, &o, &outLeft);
    iconv_close(h);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace quillon::test
