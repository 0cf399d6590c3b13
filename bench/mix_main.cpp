// quillon-mix MIB PATH: writes the benchmarks' generated script of that many MiB to a file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/script_mix.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon-mix MIB PATH\n");
        return 2;
    }
    const std::size_t mib = std::strtoul(argv[1], nullptr, 10);
    const std::string text = quillon::bench::ScriptMix(mib * 1024 * 1024 - 64);
    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size()) return 1;
    return std::fclose(file) == 0 ? 0 : 1;
}
