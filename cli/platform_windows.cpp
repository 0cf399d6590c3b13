// clang-format off
#include <windows.h>  // before the other Windows headers, which need its types
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <algorithm>

#include "cli/platform.hpp"
#include "codec/wide_text.hpp"

namespace quillon::cli {
using codec::Utf8;
using codec::Wide;

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

void UseBinaryStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool StdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
// A console, not merely a character device such as NUL.
bool StdoutIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout))), &mode) != 0;
}

ConsoleWrite WriteToConsole(std::FILE* stream, std::string_view utf8) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return ConsoleWrite::NotAConsole;
    std::fflush(stream);
    // A piece at a time: a console takes a limited number of characters per call.
    constexpr std::size_t kPiece = 16384;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t end = std::min(utf8.size(), at + kPiece);
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;  // whole characters
        const std::wstring wide = Wide(utf8.substr(at, end - at));
        DWORD done = 0;
        if (!WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr) ||
            done != wide.size()) {
            return ConsoleWrite::Failed;
        }
        at = end;
    }
    return ConsoleWrite::Written;
}

QuietStderr::QuietStderr() : saved_(-1) {
    std::fflush(stderr);
    const int none = _open("NUL", _O_WRONLY | _O_BINARY);
    if (none < 0) return;
    saved_ = _dup(_fileno(stderr));
    if (saved_ >= 0) _dup2(none, _fileno(stderr));
    _close(none);
}

QuietStderr::~QuietStderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    _dup2(saved_, _fileno(stderr));
    _close(saved_);
}

}  // namespace quillon::cli
