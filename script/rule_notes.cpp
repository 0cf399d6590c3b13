// Notes where a line's objects depart from the official scoring rules. The rules score an
// object from D (密码使用有效性), A (算法/技术合规性) and K (密钥管理安全): D not met gives 0;
// A not met 0.5 × Ra (Ra 1, 0.5 or 0.2 by security strength); K not met 0.5 × Rk (Rk 1.2 for a
// level-3 system using a level-1 module, 1.5 for a level-4 system using a level-2 module, else
// 1); A and K not met 0.25 × Ra × Rk. This calculator keeps its own way (stored scripts rely on
// it); the notes say where the two part.
#include <cstdint>
#include <string>

#include "scoring/text_format.hpp"
#include "script/problems.hpp"

namespace quillon {
namespace {

// A token as the rules read it: the verdict letters and the weights after its "*"s.
struct RuleReading {
    std::string_view code;  // "vvx": three letters v or x, folded; empty for anything else
    bool rk12 = false, rk15 = false, ra05 = false, ra02 = false;
};

// The code is read from the token; the weights the rules name, written with or without the
// point (Rk 1.2 or 1.5, Ra 0.5 or 0.2: "5" is 0.5, "12" is 1.2), are the suffixes the scan found
// to be weights as meant.
RuleReading Read(std::string_view token, std::uint8_t exactWeights) {
    RuleReading r;
    const auto letter = [&](std::size_t i) { return token[i] == 'v' || token[i] == 'x'; };
    if (token.size() >= 3 && (token.size() == 3 || token[3] == '*') && letter(0) && letter(1) && letter(2)) {
        r.code = token.substr(0, 3);
    }
    r.rk12 = (exactWeights & kWeight12) != 0;
    r.rk15 = (exactWeights & kWeight15) != 0;
    r.ra02 = (exactWeights & kWeight02) != 0;
    r.ra05 = (exactWeights & kWeight05) != 0;
    return r;
}

bool Met(char letter) { return letter == 'v'; }

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return out;
}

}  // namespace

void NoteRuleDepartures(const ObjectTable& table, std::size_t base, int level, ProblemLog& log) {
    const int tokens = table.StopSlot >= 0 ? table.StopSlot + 1 : table.TokenCount;
    for (int slot = 0; slot < tokens && slot < kObjectSlots; ++slot) {
        const auto k = static_cast<unsigned>(slot);
        const bool stop = slot == table.StopSlot;
        if (!stop && !table.Counted[k]) continue;
        const std::string_view token = table.TokenText[k].view();
        const double score = table.ObjectScores[k];
        // A counted object without a weight is noted only when it scores above 1, or a max( at 1:
        // most objects of a line are passed over here.
        if (!stop && (score <= 0.99 || (score <= 1.00001 && !IsMaxToken(token))) && (table.Suffixed & 1u << k) == 0) continue;
        const std::size_t at = base + table.TokenSpans[k].start;
        const std::size_t length = table.TokenSpans[k].length;
        const RuleReading r = Read(token, (table.Suffixed & 1u << k) != 0 ? table.ExactWeights[k] : 0);
        const auto shown = [&] { return "“" + (r.code.empty() ? std::string(token) : Upper(token)) + "”"; };
        if (slot == table.StopSlot) {
            if (!r.code.empty() && !Met(r.code[0]) && r.code != "xxx") {
                log.note(note::DNotMet, [&] {
                    return shown() + "：D（密码使用有效性）不符合，按量化评估规则该对象得 0 分；本算分器在此中断对象列表，它和其后的对象都未计入";
                }, at, length);
            }
            break;
        }
        if (IsMaxToken(token)) {
            if (score > 0.99) {
                log.note(note::MaxCountedPartly, [&] {
                    return shown() + " 的值为 " + Fixed(score, 0, 4) + "，本算分器仍按部分符合计数；按规则得 1 分的对象应计为符合";
                }, at, length);
            }
            continue;
        }
        if (!r.code.empty() && (r.rk12 || r.rk15)) {
            const char* weight = r.rk15 ? "1.5" : "1.2";
            if (Met(r.code[2])) {
                log.note(note::RkCannotApply, [&] {
                    return shown() + "：K（密钥管理安全）已符合，Rk=" + weight + " 不适用（Rk 只用于 K 不符合的对象）";
                }, at, length);
            } else if ((r.rk12 && level != 3) || (r.rk15 && level != 4)) {
                log.note(note::RkCannotApply, [&] {
                    return shown() + "：Rk=" + weight + " 只用于" + (r.rk15 ? "4 级系统使用 2 级" : "3 级系统使用 1 级") +
                           "密码模块的情形，当前测评级别为 " + std::to_string(level) + " 级";
                }, at, length);
            }
        }
        if (!r.code.empty() && (r.ra05 || r.ra02) && Met(r.code[1])) {
            log.note(note::RaCannotApply, [&] {
                return shown() + "：A（算法/技术合规性）已符合，Ra=" + (r.ra02 ? "0.2" : "0.5") + " 不适用（Ra 只用于 A 不符合的对象）";
            }, at, length);
        }
        if (score > 1.00001) {
            log.note(note::ObjectAboveOne, [&] {
                return shown() + " 得 " + Fixed(score, 0, 4) + "，大于 1：按规则对象得分不超过 1，本算分器照此计入";
            }, at, length);
        }
    }
}

}  // namespace quillon
