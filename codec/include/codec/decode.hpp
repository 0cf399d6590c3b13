// Reading a script's bytes as text, the same way in every front end: a byte-order mark says
// UTF-8, UTF-16 or UTF-32; UTF-16 without a mark is told by its NUL bytes and by reading as
// text in one byte order; any other NUL byte near the start says the file is no text at all;
// otherwise UTF-8 when the bytes are UTF-8 but for a few bad ones, else GB18030 (the superset
// of GBK; its single byte 0x80 is the euro sign, as in code page 936). Platform-free: the page
// runs it as WebAssembly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::codec {

// For text without a byte-order mark: Auto tells UTF-8 from GB18030; the others insist.
enum class InputEncoding { Auto, Utf8, Gbk };

// NUL bytes within this many bytes from the start make a file binary, unless they are UTF-16's.
inline constexpr std::size_t kBinarySniffBytes = 8192;

// Without a mark, bytes that are not all UTF-8 are still read as UTF-8 (the bad ones as U+FFFD)
// when its characters of three or four bytes (Chinese takes three) are at least this many times
// the places where bytes are no UTF-8. GBK text never comes near: its bytes are mostly no UTF-8.
inline constexpr std::size_t kUtf8WideCharactersPerBadPlace = 2;

struct DecodedScript {
    std::string text;             // UTF-8, up to the first NUL character: the script ends there
    std::string_view encoding;    // "UTF-8", "GB18030", "UTF-16LE", "UTF-16BE", "UTF-32LE", "UTF-32BE"
    bool binary = false;          // refused: not text (text is empty)
    bool endsAtNul = false;       // the file holds a NUL character, where the text ends
    std::size_t bytesAfterNul = 0;  // the file's bytes after that NUL, never read
    // What was no character in the encoding, each now one U+FFFD; where the first was in the
    // file, and its bytes (one, or a UTF-16 or UTF-32 unit).
    std::size_t replaced = 0;
    std::size_t firstReplacedAt = 0;
    std::size_t firstReplacedLength = 0;
};

DecodedScript DecodeScript(std::string_view bytes, InputEncoding encoding);

// One GB18030 text as UTF-8; what is no character becomes U+FFFD, byte by byte.
std::string Gb18030ToUtf8(std::string_view bytes, std::size_t* replaced = nullptr);

}  // namespace quillon::codec
