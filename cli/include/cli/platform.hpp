// What the tool needs of its platform: arguments, standard streams and the console.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cli {

// The program's arguments as UTF-8 (Windows hands them over as UTF-16).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard input and output carry bytes as they are, with no translation of line ends.
void UseBinaryStreams();

bool StdinIsTerminal();
bool StdoutIsTerminal();  // a workbook would be garbage there

enum class ConsoleWrite { NotAConsole, Written, Failed };

// When stream is a console window, writes the UTF-8 text to it as characters, whatever its code
// page. A stream that is no console (a file, a pipe) is left to take the bytes as they are.
ConsoleWrite WriteToConsole(std::FILE* stream, std::string_view utf8);

// While it lives, what a library prints on standard error goes nowhere: the tool tells what failed
// in its own words.
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_;  // the descriptor standard error had, or -1
};

}  // namespace quillon::cli
