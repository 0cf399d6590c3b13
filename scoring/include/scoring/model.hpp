// The constant assessment model: layers, units, weights per level, layer weights,
// the score markers and the report flag bits. Everything the scoring rules are made of.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr int kLayerCount = 8;
inline constexpr int kMaxUnitsPerLayer = 8;
inline constexpr int kLevelCount = 4;

// Digit L gives the unit count of layer L; the same at every level.
inline constexpr std::string_view kUnitCountString = "35686553";

// Unit score markers, always recognised by windows or thresholds, never by equality.
inline constexpr double NotApplicableMark = -1.0;
inline constexpr double NotEnteredMark = -5.0;
inline constexpr double NotAssessedMark = -8.0;
inline constexpr double NoObjectScore = 1307117.3166;
inline constexpr double NoObjectThreshold = 1307117.2166;  // s above this holds NoObjectScore

// Layer score markers.
inline constexpr double NoUnitCountedMark = -1.0;
inline constexpr double NoObjectLayerMark = -3.0;

// The unit score markers' windows, open at both ends. No score the store can hold lies on an end
// (unit lines store -0.1 or more, layer lines 0 or more or NotApplicableMark, level set-ups the
// marks and the weights), so whether an end belongs to its window changes nothing.
constexpr bool IsNotAssessed(double s) { return s > -8.01 && s < -7.99; }
constexpr bool IsNotEntered(double s) { return s > -5.01 && s < -4.99; }
constexpr bool IsNotApplicable(double s) { return s > -1.01 && s < -0.99; }

// The markers the report's layer lines show as a word instead of the number.
enum class UnitMarker { None, NotAssessed, NotEntered, NotApplicable };
constexpr UnitMarker UnitMarkerOf(double s) {
    if (IsNotAssessed(s)) return UnitMarker::NotAssessed;
    if (IsNotEntered(s)) return UnitMarker::NotEntered;
    if (IsNotApplicable(s)) return UnitMarker::NotApplicable;
    return UnitMarker::None;
}

// Table 5-2 shows a unit's score when this holds, and "\" in its place otherwise.
constexpr bool TableShowsUnitScore(double s) { return s >= -0.0001; }

// A score above the threshold counts as NoObjectScore: it is never rounded and its layer takes
// NoObjectLayerMark. The report prints it as a number.
constexpr bool HoldsNoObjectScore(double s) { return s > NoObjectThreshold; }
constexpr bool IsNoObjectLayerMark(double layerScore) { return layerScore > -3.01 && layerScore < -2.99; }

// A unit takes part in its layer when its weight is above this and its score above -0.5.
inline constexpr double ApplicableThreshold = 0.39;
inline constexpr double CountedScoreFloor = -0.5;
// Unit lines test the weight against 0.399; with the level tables both admit the same units.
inline constexpr double UnitLineWeightThreshold = 0.399;

// Report flag bits (the rest of the flag word is ignored).
inline constexpr std::uint32_t RoundUnitScoresFlag = 0x10000;
inline constexpr std::uint32_t RoundLayerScoresFlag = 0x20000;
inline constexpr std::uint32_t ScoreTableFlag = 0x100;
inline constexpr std::uint32_t DefaultReportFlags = 0x30000;   // a report line with no flag word
inline constexpr std::uint32_t ClosingReportFlags = 0x30100;   // the report added when a script has none

// Names as printed in the report; every name is 10 GBK bytes wide.
inline constexpr std::array<std::string_view, kLayerCount> LayerNames = {
    "物理和环境", "网路和设备", "设备和计算", "应用和数据",
    "管理制度  ", "人员管理  ", "建设运行  ", "应急处置  ",
};

// Weight of each layer within its group: layers 1-4 technical (sum 70), 5-8 management (sum 30).
inline constexpr std::array<double, kLayerCount> LayerWeights = {10, 20, 10, 30, 8, 8, 8, 6};
inline constexpr int kTechnicalLayers = 4;
enum class LayerGroup { Technical, Management };
constexpr LayerGroup GroupOf(int k) { return k < kTechnicalLayers ? LayerGroup::Technical : LayerGroup::Management; }
inline constexpr double TechnicalShare = 70.0;
inline constexpr double ManagementShare = 30.0;

using LevelTable = std::array<std::array<double, kMaxUnitsPerLayer>, kLayerCount>;

// -8 marks a unit the level does not assess; 0 fills positions beyond a layer's unit count.
inline constexpr std::array<LevelTable, kLevelCount> LevelUnitWeights = {{
    {{  // level 1
        {0.7, 0.4, -8, 0, 0, 0, 0, 0},
        {0.7, 0.4, 0.7, 0.4, -8, 0, 0, 0},
        {0.7, -8, 0.4, -8, 0.4, -8, 0, 0},
        {0.7, 0.4, -8, 0.7, 0.7, 0.7, 0.7, -8},
        {1, 0.7, -8, -8, -8, -8, 0, 0},
        {0.7, -8, -8, -8, 0.7, 0, 0, 0},
        {1, 1, 0.7, 1, -8, 0, 0, 0},
        {1, -8, -8, 0, 0, 0, 0, 0},
    }},
    {{  // level 2
        {0.7, 0.4, -8, 0, 0, 0, 0, 0},
        {0.7, 0.4, 0.7, 0.4, -8, 0, 0, 0},
        {0.7, -8, 0.4, -8, 0.4, -8, 0, 0},
        {0.7, 0.4, -8, 0.7, 0.7, 0.7, 0.7, -8},
        {1, 0.7, 0.7, -8, -8, -8, 0, 0},
        {0.7, 1, 0.7, -8, 0.7, 0, 0, 0},
        {1, 1, 0.7, 1, -8, 0, 0, 0},
        {1, -8, -8, 0, 0, 0, 0, 0},
    }},
    {{  // level 3
        {1, 0.7, 0.7, 0, 0, 0, 0, 0},
        {1, 0.7, 1, 0.4, 0.4, 0, 0, 0},
        {1, 1, 0.4, 0.4, 0.4, 0.7, 0, 0},
        {1, 0.4, 0.4, 1, 1, 0.7, 0.7, 1},
        {1, 0.7, 0.7, 0.7, 0.7, 0.7, 0, 0},
        {0.7, 1, 0.7, 0.7, 0.7, 0, 0, 0},
        {1, 1, 0.7, 1, 0.7, 0, 0, 0},
        {1, 0.7, 0.7, 0, 0, 0, 0, 0},
    }},
    {{  // level 4
        {1, 0.7, 0.7, 0, 0, 0, 0, 0},
        {1, 1, 1, 0.7, 0.7, 0, 0, 0},
        {1, 1, 0.7, 0.7, 0.7, 1, 0, 0},
        {1, 0.7, 0.7, 1, 1, 1, 1, 1},
        {1, 0.7, 0.7, 0.7, 0.7, 0.7, 0, 0},
        {0.7, 1, 0.7, 0.7, 0.7, 0, 0, 0},
        {1, 1, 0.7, 1, 0.7, 0, 0, 0},
        {1, 0.7, 0.7, 0, 0, 0, 0, 0},
    }},
}};

// The units' names; the report identifies units by number only, the titles are for people.
inline constexpr std::array<std::array<std::string_view, kMaxUnitsPerLayer>, kLayerCount> UnitTitles = {{
    {"物理和环境安全_1.身份鉴别", "物理和环境安全_2.电子门禁记录数据存储完整性",
     "物理和环境安全_3.视频记录数据完整性"},
    {"网络与通信安全_1.身份鉴别", "网络与通信安全_2.通信数据完整性",
     "网络与通信安全_3.通信过程中重要数据的机密性", "网络与通信安全_4.网络边界访问控制信息的完整性",
     "网络与通信安全_5.安全接入认证"},
    {"设备与计算安全_1.身份鉴别", "设备与计算安全_2.远程管理通道安全",
     "设备与计算安全_3.系统资源访问控制信息完整性", "设备与计算安全_4.重要信息资源安全标记完整性",
     "设备与计算安全_5.日志记录完整性", "设备与计算安全_6.重要可执行程序完整性.重要可执行程序来源真实性"},
    {"应用与数据安全_1.身份鉴别", "应用与数据安全_2.访问控制信息完整性",
     "应用与数据安全_3.重要信息资源安全标记完整性", "应用与数据安全_4.重要数据传输机密性",
     "应用与数据安全_5.重要数据存储机密性", "应用与数据安全_6.重要数据传输完整性",
     "应用与数据安全_7.重要数据存储完整性", "应用与数据安全_8.不可否认性"},
    {"管理制度_1、具备密码应用安全管理制度", "管理制度_2、密钥管理规则", "管理制度_3、建立操作规程",
     "管理制度_4、定期修订安全管理制度", "管理制度_5、明确管理制度发布流程", "管理制度_6、制度执行过程记录留存"},
    {"人员管理_1、密码相关法律法规和管理制度", "人员管理_2、密码应用岗位责任制度",
     "人员管理_3、上岗人员培训制度", "人员管理_4、定期进行安全岗位考核",
     "人员管理_5、关键岗位人员保密制度和调离制度"},
    {"建设运行_1、建立密码应用方案", "建设运行_2、制定密钥安全管理策略", "建设运行_3、制定实施方案",
     "建设运行_4、投入运行前的密码应用安全性评估", "建设运行_5、定期开展密码应用安全性评估及攻防对抗演习"},
    {"应急处置_1、应急策略", "应急处置_2、事件处置", "应急处置_3、向有关主管部门上报处置情况"},
}};

// The name of layer index k (0 is layer 1) without the blanks that pad it in the report.
constexpr std::string_view LayerName(int k) {
    const std::string_view name = LayerNames[static_cast<unsigned>(k)];
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

// "4.2": unit 2 of layer 4, as scripts and messages write it.
inline std::string UnitNumber(int layer, int unit) { return std::to_string(layer) + "." + std::to_string(unit); }

// The title of unit `unit` of layer `layer` (both from 1); empty for a unit the layer lacks.
constexpr std::string_view UnitTitle(int layer, int unit) {
    if (layer < 1 || layer > kLayerCount || unit < 1 || unit > kMaxUnitsPerLayer) return {};
    return UnitTitles[static_cast<unsigned>(layer - 1)][static_cast<unsigned>(unit - 1)];
}

}  // namespace quillon
