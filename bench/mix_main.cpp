// quillon-mix MIB PATH: writes the benchmarks' generated script of that many MiB to a file.
// quillon-mix KIND PATH: 16 MiB of one kind of line (layer, unit, count_form, mpout_100, mpinit,
// tab_joined, at_at_9).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/script_mix.hpp"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon-mix MIB|KIND PATH\n");
        return 2;
    }
    using quillon::bench::LineKindMix;
    std::string text;
    for (int k = 0; k < static_cast<int>(LineKindMix::Count); ++k) {
        if (std::strcmp(argv[1], quillon::bench::KindName(static_cast<LineKindMix>(k))) == 0) {
            text = quillon::bench::ScriptOfKind(static_cast<LineKindMix>(k), 16777215);
        }
    }
    if (text.empty()) {
        const std::size_t mib = std::strtoul(argv[1], nullptr, 10);
        if (mib == 0) {
            std::fprintf(stderr, "quillon-mix: %s is no size in MiB and no kind of line\n", argv[1]);
            return 2;
        }
        text = quillon::bench::ScriptMix(mib * 1024 * 1024 - 64);
    }
    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size()) return 1;
    return std::fclose(file) == 0 ? 0 : 1;
}
