// Reading a script from a file or standard input, as every script the tool scores is read.
#pragma once

#include <cstddef>
#include <string>

namespace quillon::cli {

struct Script {
    std::string name;   // as messages name it: the file, or "-"
    std::string shown;  // as a reader knows it: the file, or "standard input"
    std::string text;   // UTF-8, up to a NUL if the file holds one
    std::string encoding;
    std::size_t bytesAfterNul = 0;  // the file's bytes after that NUL
};

// `file` "-" or empty reads standard input; `named` when the command line gave it (an empty name
// is then no file). inputEncoding: auto, utf-8 or gbk, in any case. A script that cannot be read
// or is refused is Trouble; bytes that are no character are told once.
Script ReadScriptNamed(const std::string& file, bool named, const std::string& inputEncoding);

}  // namespace quillon::cli
