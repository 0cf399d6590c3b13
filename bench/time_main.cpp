// quillon-time FILE: the fastest of five runs of the library on the file's text, keeping the
// account as the front ends do, in milliseconds; the page's timing test compares with it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "script/interpreter.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-time FILE\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.eof() && file.fail()) return 1;
    double fastest = 1e30;
    for (int i = 0; i < 5; ++i) {
        const auto started = std::chrono::steady_clock::now();
        const quillon::ScriptRun run = quillon::InterpretScript(text, {}, true);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
        if (run.report.empty()) return 1;
        fastest = std::min(fastest, took.count());
    }
    std::printf("%.3f\n", fastest);
    return 0;
}
