#include "app/front_end.hpp"

#include <algorithm>

#include "app/compare_text.hpp"
#include "app/explain_text.hpp"
#include "app/word_tips.hpp"
#include "codec/decode.hpp"
#include "scoring/compare.hpp"
#include "scoring/explain.hpp"
#include "scoring/limits.hpp"
#include "scoring/report_tables.hpp"
#include "app/builtin_texts.hpp"
#include "script/account.hpp"
#include "script/interpreter.hpp"

namespace quillon::app {
namespace {

constexpr std::string_view kNull = "NULL";

// 16777215 as "16,777,215".
std::string WithThousandsCommas(std::size_t n) {
    std::string digits = std::to_string(n);
    for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

std::string TooLargeMessage(std::string_view name) {
    return "脚本文件太大，未读入：\n" + std::string(name) + "\n脚本最多 " + WithThousandsCommas(kMaxScriptBytes) + " 字节。";
}

// The edit boxes break lines with LF; CR LF and a lone CR mean the same to the interpreter.
std::string WithLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t cr = std::min(text.find('\r', at), text.size());
        out.append(text, at, cr - at);  // whole runs between CRs: a report is mostly CR LF lines
        if (cr == text.size()) break;
        out.push_back('\n');
        at = cr + (cr + 1 < text.size() && text[cr + 1] == '\n' ? 2 : 1);
    }
    return out;
}

// Each link command: what its target is called in messages, where the build keeps it, and why
// the system may fail to open it.
struct LinkEntry {
    std::string_view name;
    std::string Links::*target;
    std::string_view failure;
};

const LinkEntry& EntryOf(LinkCommand command) {
    static constexpr std::string_view kNoBrowser = "系统没有能打开网址的程序（浏览器）。";
    static const LinkEntry kHome{"官网", &Links::homePage, kNoBrowser};
    static const LinkEntry kHelp{"帮助页", &Links::helpPage,
                                 "工作文件夹和程序所在的文件夹里都没有它，或者系统没有能打开网页文件的程序。"};
    static const LinkEntry kDonation{"赞助图片", &Links::donationPicture, kNoBrowser};
    switch (command) {
        case LinkCommand::HomePage: return kHome;
        case LinkCommand::Help: return kHelp;
        case LinkCommand::DonationPicture: break;
    }
    return kDonation;
}

constexpr LinkCommand kLinkCommands[] = {LinkCommand::HomePage, LinkCommand::Help, LinkCommand::DonationPicture};

// The buttons of the exit question, in their order.
enum ExitButton : std::size_t { kSaveButton, kDiscardButton, kCancelButton };

}  // namespace

FrontEnd::FrontEnd(Links links) : links_(std::move(links)) {}

Update FrontEnd::start() {
    realTime_ = true;
    sampleIndex_ = 0;
    return replaceScript(NoticeText, false);
}

ScriptRun RunOf(const RunOrder& order) { return InterpretScript(order.script, {}, true, order.listFrom); }

std::string_view ScoringNotice() { return "正在算分…"; }

Update FrontEnd::score(std::string_view script) {
    ++edits_;  // what is scored now is newer than any run ordered before
    return keep(InterpretScript(script, {}, true, listFrom_), script);
}

Update FrontEnd::ran(RunOrder order, ScriptRun run) {
    if (order.edit != edits_) return {};
    return keep(std::move(run), order.script);
}

Update FrontEnd::keep(ScriptRun run, std::string_view script) {
    Update update;
    update.report = WithLfLineEnds(run.report);
    reportNotice_ = run.reportTruncated ? ReportCutMessage() : std::string();
    keepMarks(update, run.account, script);
    lineRecords_ = std::move(run.account.lines);  // moved, not copied, each keystroke
    recordsCurrent_ = true;
    lastReport_ = std::move(run.lastReport);
    lastReportFlags_ = run.lastReportFlags;
    return update;
}

void FrontEnd::keepMarks(Update& update, const ScriptAccount& account, std::string_view script) {
    update.marks = MarksOf(account, script);
    markedRows_ = {account.listFrom - 1,
                   account.listedUntil == SIZE_MAX ? SIZE_MAX : account.listedUntil - 1};
    const std::size_t unlisted = account.unlistedCount() + account.unlistedNotes;
    if (unlisted == 0) {
        markedRows_ = {};
        scoredScript_.clear();
        marksNotice_.clear();
        return;
    }
    if (scoredScript_.data() != script.data()) scoredScript_ = std::string(script);
    const std::size_t lastRow = std::min(markedRows_.end, account.lines.size());
    marksNotice_ = "另有 " + std::to_string(unlisted) + " 个问题和提示未列出；此处列出第 " +
                   std::to_string(markedRows_.first + 1) + "～" + std::to_string(lastRow) +
                   " 行的，滚动到其他行时列出那里的。";
}

Update FrontEnd::marksFor(std::size_t firstRow, std::size_t lastRow) {
    if (scoredScript_.empty() || (firstRow >= markedRows_.first && lastRow < markedRows_.end)) return {};
    // From a screen above: scrolling back a little lists nothing again.
    const std::size_t screen = lastRow >= firstRow ? lastRow - firstRow + 1 : 1;
    listFrom_ = firstRow - std::min(firstRow, screen) + 1;
    ScriptRun run = InterpretScript(scoredScript_, {}, true, listFrom_);
    Update update;
    keepMarks(update, run.account, scoredScript_);
    return update;
}

// A text from the program (a sample, a file): not an edit. Texts that are not scored leave
// "NULL" and no marks, whatever the last run showed.
Update FrontEnd::replaceScript(std::string_view text, bool scored) {
    std::string shown = WithLfLineEnds(text);
    ++edits_;
    listFrom_ = 1;  // the view shows its first rows
    Update update = scored ? score(shown) : Update{};
    if (!scored) {
        update.report = std::string(kNull);
        update.marks = std::vector<Mark>{};
        markedRows_ = {};
        scoredScript_.clear();
        reportNotice_.clear();
        marksNotice_.clear();
        lineRecords_.clear();
        recordsCurrent_ = false;
        lastReport_.reset();
    }
    update.script = std::move(shown);
    modified_ = false;
    saveTarget_.reset();  // Save must not write this text over another script's file
    loadedFrom_.clear();
    return update;
}

bool FrontEnd::editedLater() {
    ++edits_;
    modified_ = true;
    recordsCurrent_ = false;  // until the run is back
    return realTime_;
}

Update FrontEnd::edited(std::string_view script) {
    ++edits_;
    modified_ = true;
    if (!realTime_) recordsCurrent_ = false;
    return realTime_ ? score(script) : Update{};
}

Update FrontEnd::computeClicked(std::string_view script) {
    return realTime_ ? Update{} : score(script);  // the button works only while it is enabled
}

Update FrontEnd::realTimeClicked(bool checked, std::string_view script) {
    realTime_ = checked;
    return checked ? score(script) : Update{};
}

Update FrontEnd::sampleChosen(int index) {
    if (index < 0 || index >= kBuiltInSampleCount) return {};
    sampleIndex_ = index;
    const BuiltInSample& sample = BuiltInSamples[static_cast<unsigned>(index)];
    return replaceScript(sample.text, sample.scored);
}

std::optional<std::string> FrontEnd::ScriptOfFile(std::string_view path, const FileRead& file, std::string& message) {
    switch (file.status) {
        case FileRead::Status::Unreadable:
            return std::nullopt;  // a folder, a missing or unreadable file: nothing changes
        case FileRead::Status::TooLarge:
            message = TooLargeMessage(path);
            return std::nullopt;
        case FileRead::Status::Read:
            break;
    }
    if (file.bytes.size() > kMaxScriptBytes) {  // as read, whatever its encoding
        message = TooLargeMessage(path);
        return std::nullopt;
    }
    codec::DecodedScript decoded = codec::DecodeScript(file.bytes, codec::InputEncoding::Auto);
    if (decoded.binary) {
        message = "不是文本文件（开头 8 KiB 内有 NUL 字节），未读入：\n" + std::string(path);
        return std::nullopt;
    }
    // The decoder ends the text at its first NUL: the box shows what is scored.
    return std::move(decoded.text);
}

Update FrontEnd::fileRead(std::string_view path, const FileRead& file) {
    Update update;
    std::string message;
    const std::optional<std::string> text = ScriptOfFile(path, file, message);
    if (!text) {
        if (!message.empty()) update.message = std::move(message);
        return update;
    }
    update = replaceScript(*text, true);
    loadedFrom_ = std::string(path);
    return update;
}

ComparisonShown FrontEnd::compareWithFile(std::string_view path, const FileRead& file, std::string_view script) {
    ComparisonShown shown;
    const std::optional<std::string> before = ScriptOfFile(path, file, shown.message);
    if (!before) return shown;
    // Both scored afresh: with real-time mode off the last report may be older than the box.
    const ScriptRun beforeRun = InterpretScript(WithLfLineEnds(*before), {}, true);
    const ScriptRun afterRun = InterpretScript(script, {}, true);
    const std::string afterName = !loadedFrom_.empty() && !modified_ ? loadedFrom_ : std::string("脚本框中的脚本");
    const Comparison c = Compare(*beforeRun.lastReport, *afterRun.lastReport);
    shown.text = ComparisonText(c, std::string(path), afterName);
    comparisonGrids_ = ComparisonGrids(c, std::string(path), afterName);
    return shown;
}

ExportedFile FrontEnd::exportComparison(const ExportFormat& format) const {
    if (comparisonGrids_.empty()) return {{}, "还没有比较可导出：先选一个脚本文件比较。"};
    std::string error;
    std::string file = format.writeGrids(comparisonGrids_, std::string(kComparisonHeading), false, error);
    if (!error.empty()) return {{}, ExportFailure(format, error)};
    return {std::move(file), {}};
}

std::string FrontEnd::ComparisonExportName(const ExportFormat& format) { return "整改前后比较." + std::string(format.suffix); }

std::string FrontEnd::proposedSavePath() const {
    if (saveTarget_) return saveTarget_->path;
    return loadedFrom_.empty() ? std::string("脚本.txt") : loadedFrom_;
}

void FrontEnd::saved(SaveTarget target) {
    saveTarget_ = std::move(target);
    modified_ = false;
}

bool FrontEnd::linkAvailable(LinkCommand command) const { return !(links_.*EntryOf(command).target).empty(); }

Update FrontEnd::link(LinkCommand command) const {
    const LinkEntry& entry = EntryOf(command);
    Update update;
    if (linkAvailable(command)) {
        update.link = links_.*entry.target;
    } else {  // the views disable the entry; the page has it, and says why nothing opens
        update.message = "这个版本没有配置" + std::string(entry.name) + "的地址。";
    }
    return update;
}

Update FrontEnd::linkNotOpened(std::string_view target) const {
    for (const LinkCommand command : kLinkCommands) {
        const LinkEntry& entry = EntryOf(command);
        if (links_.*entry.target != target) continue;
        Update update;
        update.message = "打不开" + std::string(entry.name) + "：\n" + std::string(target) + "\n" + std::string(entry.failure);
        return update;
    }
    Update update;
    update.message = "打不开：\n" + std::string(target);
    return update;
}

// The page's unload warning says the same.
const Question& FrontEnd::ExitQuestion() {
    static const Question kQuestion{"脚本有未保存的修改。\n退出前保存吗？", {"保存", "不保存", "取消"}};
    return kQuestion;
}

ExitStep FrontEnd::ExitAnswered(std::size_t button) {
    switch (button) {
        case kSaveButton: return ExitStep::SaveThenEnd;
        case kDiscardButton: return ExitStep::End;
        default: return ExitStep::Stay;
    }
}

LineRecord FrontEnd::lineRecord(std::string_view rowText, std::size_t row) const {
    if (rowScored(row)) return lineRecords_[row];
    // Not scored as it stands: read alone, as the interpreter reads it, at the level the
    // last run had there (or past its end, at its last row).
    LineRecord record = ReadLineAlone(rowText);
    record.level = lineRecords_.empty() ? kResetLevel : lineRecords_[std::min(row, lineRecords_.size() - 1)].level;
    return record;
}

std::string FrontEnd::wordTip(std::string_view rowText, std::size_t row, std::size_t column) const {
    return WordTip(rowText, column, lineRecord(rowText, row));
}

ExportedFile FrontEnd::exportTables(const ExportFormat& format) const {
    if (!lastReport_) return {{}, "还没有报告可导出：先算分。"};
    std::string error;
    std::string file = format.write(TablesOf(*lastReport_), false, error);
    if (!error.empty()) return {{}, ExportFailure(format, error)};
    return {std::move(file), {}};
}

std::string FrontEnd::ExportName(const ExportFormat& format) { return "密评得分." + std::string(format.suffix); }

Analysis FrontEnd::analysis() const {
    if (!lastReport_) return {"还没有算分：先输入或读入脚本，得出报告后再看各单元的增分。\n", {}, {}};
    ExplanationParts parts = PartsOf(*lastReport_, ExplainTotal(*lastReport_, lastReportFlags_));
    return {std::move(parts.head), std::move(parts.columns), std::move(parts.rows)};
}

std::string FrontEnd::whatIf(const std::vector<std::size_t>& ticked) const {
    if (!lastReport_) return {};
    const Explanation e = ExplainTotal(*lastReport_, lastReportFlags_);
    const ExplanationParts parts = PartsOf(*lastReport_, e);
    std::string out;
    if (!e.gains.empty()) {
        // In the list's order, whichever order they were ticked in.
        AssumedUnits assumed;
        for (std::size_t row = 0; row < e.gains.size(); ++row) {
            if (std::find(ticked.begin(), ticked.end(), row) != ticked.end()) assumed.units.push_back(e.gains[row].unit);
        }
        out = assumed.units.empty() ? "勾选上面的单元，看它们一起改为符合（得分 1）时的总分。\n"
                                    : AssumptionText(*lastReport_, e, assumed, lastReportFlags_);
        out += std::string(kGainsDoNotAddUp) + "\n\n";
    }
    return out + parts.losses;
}

Update FrontEnd::f2Pressed(bool controlFocused) const {
    Update update;
    if (!controlFocused) update.message = "VK_F2";
    return update;
}

std::string FrontEnd::ForSaving(std::string_view script) {
    std::string out;
    out.reserve(script.size() + script.size() / 16);
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script[i] == '\n' && (i == 0 || script[i - 1] != '\r')) out.push_back('\r');
        out.push_back(script[i]);
    }
    return out;
}

}  // namespace quillon::app
