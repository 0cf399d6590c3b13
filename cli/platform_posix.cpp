#include <unistd.h>

#include "cli/platform.hpp"

namespace quillon::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void UseBinaryStreams() {}

bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

ConsoleWrite WriteToConsole(std::FILE*, std::string_view) { return ConsoleWrite::NotAConsole; }

}  // namespace quillon::cli
