// Reading a script's bytes from a file or a stream, refusing anything over the script limit.
#pragma once

#include <cstdio>
#include <string>

namespace quillon::codec {

struct ScriptBytes {
    bool ok = false;
    bool tooLarge = false;  // refused for its size rather than unreadable
    std::string bytes;      // the raw bytes when ok
    std::string error;      // why not, in words, when not ok
};

ScriptBytes ReadScriptFile(const std::string& path);
ScriptBytes ReadScriptStream(std::FILE* stream);

}  // namespace quillon::codec
