// Helpers shared by the tests: running scripts and writing expected report text readably.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "script/interpreter.hpp"

namespace quillon::test {

// Lines joined with CR LF, each line (the last included) ending with one.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

inline double UnitScore(const ScoreStore& store, int layer, int unit) {
    return store.LayerRows[static_cast<unsigned>(layer - 1)].UnitScores[static_cast<unsigned>(unit - 1)];
}

inline double LayerScore(const ScoreStore& store, int layer) {
    return store.LayerRows[static_cast<unsigned>(layer - 1)].LayerScore;
}

// Report lines of a run that begin with prefix, CR LF removed.
inline std::string LineStartingWith(const std::string& report, std::string_view prefix) {
    std::size_t pos = 0;
    while (pos < report.size()) {
        std::size_t end = report.find("\r\n", pos);
        if (end == std::string::npos) end = report.size();
        const std::string_view line(report.data() + pos, end - pos);
        if (line.substr(0, prefix.size()) == prefix) return std::string(line);
        pos = end + 2;
    }
    return {};
}

// The level-3 start-up state: every unit scored with its weight, reported with the default
// rounding of "mpout".
inline const std::string& Level3DefaultLayerLines() {
    static const std::string lines = CrLf({
        "@@1物理和环境   0.825000 # 1.000000 0.700000 0.700000 ",
        "@@2网路和设备   0.802900 # 1.000000 0.700000 1.000000 0.400000 0.400000 ",
        "@@3设备和计算   0.761500 # 1.000000 1.000000 0.400000 0.400000 0.400000 0.700000 ",
        "@@4应用和数据   0.854800 # 1.000000 0.400000 0.400000 1.000000 1.000000 0.700000 "
        "0.700000 1.000000 ",
        "@@5管理制度     0.766700 # 1.000000 0.700000 0.700000 0.700000 0.700000 0.700000 ",
        "@@6人员管理     0.778900 # 0.700000 1.000000 0.700000 0.700000 0.700000 ",
        "@@7建设运行     0.904500 # 1.000000 1.000000 0.700000 1.000000 0.700000 ",
        "@@8应急处置     0.825000 # 1.000000 0.700000 0.700000 ",
    });
    return lines;
}

inline const std::string& Level3DefaultSummary() {
    static const std::string lines = CrLf({
        "3级 密评总分=  82.120  82.1178 注意2位有效数字",
        "不符合=  0 部分符合= 26 符合=    15  不适用=暂不统计   57.5670( 70.0000) + "
        "24.5508( 30.0000) ",
    });
    return lines;
}

inline constexpr std::string_view kClosingNotice =
    "没有mpout 命令 最后自动补1个// 对 所有单元得分输出 归并到层面和总分 ";

}  // namespace quillon::test
