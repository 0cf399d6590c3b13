#include "cli/script_input.hpp"

#include "cli/output.hpp"
#include "cli/platform.hpp"
#include "codec/decode.hpp"
#include "codec/script_file.hpp"

namespace quillon::cli {
namespace {

// What the decoder replaced by U+FFFD, told once: --check lists each place.
void SayReplaced(const std::string& shown, const std::string& bytes, const codec::DecodedScript& decoded) {
    if (decoded.replaced == 0) return;
    std::string first;
    for (std::size_t i = 0; i < decoded.firstReplacedLength; ++i) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned char>(bytes[decoded.firstReplacedAt + i]);
        first += std::string(first.empty() ? "0x" : " 0x") + kHex[b >> 4] + kHex[b & 15];
    }
    Say(shown + ": read as " + std::string(decoded.encoding) + "; " + std::to_string(decoded.replaced) +
        (decoded.replaced == 1 ? " place where the bytes are" : " places where the bytes are") +
        " no character read as U+FFFD (the first: " + first + " at offset " + std::to_string(decoded.firstReplacedAt) + ")");
}

}  // namespace

Script ReadScriptNamed(const std::string& file, bool named, const std::string& inputEncoding) {
    using codec::InputEncoding;
    if (named && file.empty()) throw Trouble{"'': no such file (the file name is empty)"};
    const bool fromStdin = file.empty() || file == "-";
    if (fromStdin && !named && StdinIsTerminal()) {
        throw Trouble{"no script given: name a FILE, use - for standard input, or --sample N"};
    }
    const std::string name = fromStdin ? std::string("-") : file;
    const std::string shown = fromStdin ? std::string("standard input") : file;
    const auto read = fromStdin ? codec::ReadScriptStream(stdin) : codec::ReadScriptFile(file);
    if (!read.ok) throw Trouble{shown + ": " + read.error};
    const std::string encoding = Lower(inputEncoding);
    const InputEncoding chosen = encoding == "utf-8" ? InputEncoding::Utf8
                                 : encoding == "gbk" ? InputEncoding::Gbk
                                                     : InputEncoding::Auto;
    codec::DecodedScript decoded = codec::DecodeScript(read.bytes, chosen);
    if (decoded.binary) {
        throw Trouble{shown + ": not a text file (NUL bytes within its first " + std::to_string(codec::kBinarySniffBytes) +
                      " bytes); nothing scored"};
    }
    SayReplaced(shown, read.bytes, decoded);
    return {name, shown, std::move(decoded.text), std::string(decoded.encoding), decoded.bytesAfterNul};
}

}  // namespace quillon::cli
