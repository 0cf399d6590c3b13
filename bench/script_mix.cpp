#include "bench/script_mix.hpp"

#include <array>
#include <random>

namespace quillon::bench {
namespace {

constexpr std::array<const char*, 12> kObjects = {"VVV", "VVX", "VXX", "XXX", "VVX*1.2", "VXX*0.5",
                                                   "---", "0.6", "X--", "max(1.0*0.5,0.6)", "vvx", "1"};
constexpr std::array<const char*, 6> kScores = {"1", "0.5", "0.25", "0.6667", "/", "-"};
constexpr std::array<const char*, 5> kRemarks = {
    "注：现场核查 服务器机房门禁系统", "   ", "", "修正4.2 再 显示", "测试向量： 4级 密评总分=  69.680"};
constexpr std::array<int, 8> kUnits = {3, 5, 6, 8, 6, 5, 5, 3};

}  // namespace

std::string ScriptMix(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::string script = "mpinit=4\r\n";
    script.reserve(bytes + 256);
    std::size_t lines = 0;
    while (script.size() < bytes) {
        const int kind = pick(1000);
        ++lines;
        if (kind < 450) {  // unit line
            const int layer = pick(8);
            script += "$$" + std::to_string(layer + 1) + "." + std::to_string(pick(kUnits[layer]) + 1) + " ";
            for (int i = 0, n = 2 + pick(5); i < n; ++i) script += std::string(" ") + kObjects[pick(12)];
        } else if (kind < 580) {  // layer line
            const int layer = pick(8);
            script += "@@" + std::to_string(layer + 1) + " ";
            for (int i = 0; i < kUnits[layer]; ++i) script += std::string(" ") + kScores[pick(6)];
        } else if (kind < 600) {  // count form
            script += "$$ ";
            for (int i = 0, n = 2 + pick(5); i < n; ++i) script += std::string(" ") + kObjects[pick(12)];
        } else if (kind < 601) {  // a report
            script += pick(2) != 0 ? "mpout" : "mpout 30100";
        } else if (kind < 630) {
            script += "mpecho 备注 第" + std::to_string(lines) + "行";
        } else {
            script += kRemarks[pick(5)];
        }
        script += "\r\n";
    }
    return script;
}

const char* KindName(LineKindMix kind) {
    constexpr std::array<const char*, 8> kNames = {"layer", "unit", "count_form", "mpout_100", "mpinit", "tab_joined", "at_at_9",
                                                   "unit_unseen"};
    return kNames[static_cast<unsigned>(kind)];
}

std::string ScriptOfKind(LineKindMix kind, std::size_t bytes) {
    constexpr std::array<const char*, 7> kLines = {
        "@@4 0.6667 1 - 0.25 1 0.25 1 1\r\n",
        "$$4.2 VVX VXX*0.5 0.6 VVV*1.2 XXX max(1.0*0.5,0.6)\r\n",
        "$$ VVX VVX*1.2 XXX VVX*0.5\r\n",
        "mpout 100\r\n",
        "mpinit=4 1\r\n",
        "@@1\t0.5\t1\t0.5\r\n",
        "@@9\r\n",
    };
    std::string script;
    if (kind == LineKindMix::UnitUnseen) {  // the unit line with its two numbers new on each line
        script.reserve(bytes + 64);
        for (unsigned n = 0;; ++n) {
            const std::string a = std::to_string(10000 + n % 90000), b = std::to_string(99999 - n % 90000);
            const std::string line = "$$4.2 VVX VXX*0.5 0." + a + " VVV*1.2 XXX max(1.0*0.5,0." + b + ")\r\n";
            if (script.size() + line.size() > bytes) return script;
            script += line;
        }
    }
    const std::string_view line = kLines[static_cast<unsigned>(kind)];
    script.reserve(bytes + line.size());
    while (script.size() + line.size() <= bytes) script += line;
    return script;
}

}  // namespace quillon::bench
