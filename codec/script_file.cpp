#include "codec/script_file.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#ifdef _WIN32
#include "codec/wide_text.hpp"  // file names are UTF-8 inside
#endif

#include "text/script_limit.hpp"

namespace quillon::codec {
namespace {

std::string TooLarge() {
    return "larger than " + std::to_string(kMaxScriptBytes) + " bytes, the most a script may hold";
}

#ifdef _WIN32
bool IsFolder(const std::string& path) {
    struct _stat64 info {};
    return ::_wstat64(Wide(path).c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

std::FILE* OpenForReading(const std::string& path) { return ::_wfopen(Wide(path).c_str(), L"rb"); }
#else
bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }
#endif

}  // namespace

ScriptBytes ReadScriptStream(std::FILE* stream) {
    ScriptBytes result;
    char buffer[65536];
    while (true) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream);
        result.bytes.append(buffer, got);
        if (result.bytes.size() > kMaxScriptBytes) {
            result.bytes.clear();
            result.tooLarge = true;
            result.error = TooLarge();
            return result;
        }
        if (got < sizeof buffer) break;
    }
    if (std::ferror(stream)) {
        result.bytes.clear();
        result.error = std::strerror(errno);
        return result;
    }
    result.ok = true;
    return result;
}

ScriptBytes ReadScriptFile(const std::string& path) {
    if (IsFolder(path)) return ScriptBytes{false, false, {}, "is a folder, not a file"};
    std::FILE* file = OpenForReading(path);
    if (file == nullptr) return ScriptBytes{false, false, {}, std::strerror(errno)};
    ScriptBytes result = ReadScriptStream(file);
    std::fclose(file);
    return result;
}

}  // namespace quillon::codec
