#include <fcntl.h>
#include <unistd.h>

#include "cli/platform.hpp"

namespace quillon::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void UseBinaryStreams() {}

bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

ConsoleWrite WriteToConsole(std::FILE*, std::string_view) { return ConsoleWrite::NotAConsole; }

QuietStderr::QuietStderr() : saved_(-1) {
    std::fflush(stderr);
    const int none = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (none < 0) return;
    saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved_ >= 0) dup2(none, STDERR_FILENO);
    close(none);
}

QuietStderr::~QuietStderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
}

}  // namespace quillon::cli
