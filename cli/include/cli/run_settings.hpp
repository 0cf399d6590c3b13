// What the command line asks of a run beside its scripts.
#pragma once

#include <string>

namespace quillon::cli {

struct RunSettings {
    std::string inputEncoding;  // auto, utf-8 or gbk, in any case
    bool gbk = false;           // the output encoding
    std::string format;         // text, json or a table format, in lower case
    bool check = false;
    bool explain = false;
    bool trace = false;
};

}  // namespace quillon::cli
