// The front ends' model: what the window decides, with no window. Each view (the Qt window, the
// page, the Win32 window) hands its events in and applies the Update it gets back; none of them
// decides when a script is scored, what the report box shows, what a load accepts or which
// words are marked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/export_formats.hpp"
#include "app/links.hpp"
#include "app/marks.hpp"
#include "scoring/report_tables.hpp"
#include "scoring/score_store.hpp"
#include "script/interpreter.hpp"

namespace quillon::app {

// A file as the view read it.
struct FileRead {
    enum class Status { Read, Unreadable, TooLarge };
    Status status = Status::Read;
    std::string bytes;  // when read
};

enum class LinkCommand { HomePage, Help, DonationPicture };

// A question for a message box: its text and the words of its buttons, in their order. The
// first button is the default; Esc and the close button answer as the last one does.
struct Question {
    std::string text;
    std::vector<std::string> buttons;
};

// What Exit does next: end the window, ask the exit question, save first and end only if the
// save succeeded (Save As when there is no save target), or keep the window open.
enum class ExitStep { End, Ask, SaveThenEnd, Stay };

// An export as a view writes it: the whole file, or why there is none.
struct ExportedFile {
    std::string bytes;
    std::string problem;  // set when there is no file: no report yet, or the workbook failed
};

// Where Save writes, and in which encoding.
struct SaveTarget {
    std::string path;
    bool gbk = false;  // UTF-8 unless GBK was asked for
};

// The 分析 dialog's text above and in its list of units; below the list goes whatIf()'s.
struct Analysis {
    std::string head;                // the total, and what the list holds
    std::string columns;             // the list's column header; empty without units
    std::vector<std::string> units;  // the list's rows: each unit below 1, the largest gain first
};

// 分析 → 与脚本文件比较…: what the dialog shows, or why there is nothing to show.
struct ComparisonShown {
    std::string text;     // as quillon-score --compare prints it, lines ending with LF
    std::string message;  // for a message box, when the file was refused
};

// What a view changes after an event; only the parts that are set.
struct Update {
    // The script box's new text (LF line ends). The view replaces its text as one step that
    // the user can undo, and the replacement is not an edit.
    std::optional<std::string> script;
    std::optional<std::string> report;  // the report box's new text (LF line ends)
    std::optional<std::vector<Mark>> marks;
    std::optional<std::string> message;  // to show in a message box
    std::optional<std::string> link;     // a target for the system to open
};

// A run of a long script made away from the view's event thread, so that typing never waits
// for it: what it reads, and which edit it scores.
struct RunOrder {
    std::string script;
    std::size_t listFrom = 1;
    std::uint64_t edit = 0;
};
// The library's run of an order; it reads nothing else, so any thread may make it.
ScriptRun RunOf(const RunOrder& order);

// Said beside the report while a run made away from the view has not come back.
std::string_view ScoringNotice();

class FrontEnd {
public:
    explicit FrontEnd(Links links = ConfiguredLinks());

    // The window as it opens: the notice, "NULL", real-time mode on; nothing scored.
    Update start();
    // The user changed the script box's text (typing, pasting, undoing): scored in real-time mode.
    Update edited(std::string_view script);
    // The same edit, for a view that scores it away from its thread: whether a run is due. The
    // view then makes runOrder()'s run and hands it to ran(); edits that come meanwhile make
    // it stale, and the view orders the newest text once it is back, so that typing faster than
    // runs take scores only the newest text.
    bool editedLater();
    RunOrder runOrder(std::string script) const { return {std::move(script), listFrom_, edits_}; }
    // The run of an order: shown unless the script was edited or replaced since it was ordered.
    Update ran(RunOrder order, ScriptRun run);
    Update computeClicked(std::string_view script);
    // The real-time check box after the click toggled it.
    Update realTimeClicked(bool checked, std::string_view script);
    // Entry `index` of the sample list, picked there or by a 测试向量 command (which also
    // shows it in the list): the sample replaces the script, and is scored unless it is the
    // notice.
    Update sampleChosen(int index);
    // A file the user opened or dropped, as the view could read it; its path names it in
    // messages and is proposed when the script is saved.
    Update fileRead(std::string_view path, const FileRead& file);
    // Whether the build has the command's target; the view disables the entry when it has not.
    bool linkAvailable(LinkCommand command) const;
    Update link(LinkCommand command) const;
    // The system could not open `target`, which link() gave: a message that says so.
    Update linkNotOpened(std::string_view target) const;

    // Exit ends at once unless the script holds edits that no file holds; then it asks.
    ExitStep exitRequested() const { return modified_ ? ExitStep::Ask : ExitStep::End; }
    static const Question& ExitQuestion();
    // The button of ExitQuestion() the user chose; any other number (the box closed) stays.
    static ExitStep ExitAnswered(std::size_t button);
    // F2 shows a message only while no control has the keyboard focus.
    Update f2Pressed(bool controlFocused) const;

    // The rows, from 0, whose marks the last marks given hold in full: [first, end). A run lists
    // at most kMaxListedProblems problems, so a view showing rows outside asks for theirs.
    struct MarkedRows {
        std::size_t first = 0;
        std::size_t end = SIZE_MAX;
    };
    const MarkedRows& markedRows() const { return markedRows_; }
    // The marks of the rows a view shows, firstRow to lastRow, when the last marks given do not
    // hold them all: the scored script is run again, listing from a screen above firstRow.
    // Nothing while they do.
    Update marksFor(std::size_t firstRow, std::size_t lastRow);
    // Said beside the report while the last scored report was cut at its limit; empty otherwise.
    const std::string& reportNotice() const { return reportNotice_; }
    // Said with the list of problems while some are not listed: how many, and which rows are.
    const std::string& marksNotice() const { return marksNotice_; }

    // What the last run did with script row `row` (from 0), whose text the view passes: what
    // the view colours it as. A row edited since (real-time mode off) is read on its own, at
    // the level the last run had there.
    LineRecord lineRecord(std::string_view rowText, std::size_t row) const;
    // Whether the last run's record holds the row as it stands: then its text is not read.
    bool rowScored(std::size_t row) const { return recordsCurrent_ && row < lineRecords_.size(); }
    // The tooltip of the word at `column` (UTF-16 units) of that row: which unit the word sets,
    // at the level in force there, and what the line stored or, for a count form, printed
    // (app/word_tips.hpp). Lines end with LF.
    std::string wordTip(std::string_view rowText, std::size_t row, std::size_t column) const;

    // The last scored report's tables as a file holds them (UTF-8; CSV with a byte-order mark,
    // for spreadsheets; a workbook), or a problem while the report box shows "NULL".
    ExportedFile exportTables(const ExportFormat& format) const;
    static std::string ExportName(const ExportFormat& format);  // proposed file name
    // What each unit costs the last scored report's total, in words.
    Analysis analysis() const;
    // Below the dialog's list, for the rows of analysis().units ticked (in any order): the total
    // with those units compliant together, as the tool's --assume gives it, then the layers'
    // losses. Rows past the list are no units and change nothing.
    std::string whatIf(const std::vector<std::size_t>& ticked) const;

    // The chosen file, read as a loaded script is read, is "before"; the script in the box is
    // "after", named by its file while it is that file's text unedited. Its tables stay for
    // exportComparison() until the next comparison. A file that could not be read (a folder)
    // shows nothing, as loading it changes nothing.
    ComparisonShown compareWithFile(std::string_view path, const FileRead& file, std::string_view script);
    // The last comparison's tables as a file holds them, as exportTables() gives a report's.
    ExportedFile exportComparison(const ExportFormat& format) const;
    static std::string ComparisonExportName(const ExportFormat& format);

    bool realTime() const { return realTime_; }
    bool computeEnabled() const { return !realTime_; }
    int sampleIndex() const { return sampleIndex_; }
    // The script box holds edits that were neither loaded nor saved. Any edit counts, also
    // one that undoes the others back to the saved text.
    bool modified() const { return modified_; }

    // Where Save writes without asking: the file of the last Save As, until another script
    // replaces this one. A script loaded from a file is saved through Save As, its path
    // proposed, so that its file is never rewritten in another encoding unasked.
    const std::optional<SaveTarget>& saveTarget() const { return saveTarget_; }
    std::string proposedSavePath() const;
    void saved(SaveTarget target);

    // The script as a saved file holds it: CR LF line ends, as the built-in texts and the
    // systems the assessors use have them.
    static std::string ForSaving(std::string_view script);

private:
    Update score(std::string_view script);
    Update keep(ScriptRun run, std::string_view script);
    void keepMarks(Update& update, const ScriptAccount& account, std::string_view script);
    Update replaceScript(std::string_view text, bool scored);
    // A file's text as a load takes it, or the message that refuses it (empty for a file not read).
    static std::optional<std::string> ScriptOfFile(std::string_view path, const FileRead& file, std::string& message);

    Links links_;
    bool realTime_ = true;
    int sampleIndex_ = 0;
    bool modified_ = false;
    std::uint64_t edits_ = 0;  // edits and replacements so far: a run ordered before one is stale
    std::optional<SaveTarget> saveTarget_;
    std::vector<LineRecord> lineRecords_;  // what the last run did with each row
    bool recordsCurrent_ = false;          // and the script has not been edited since
    std::optional<ScoreStore> lastReport_;  // the model as the last scored report left it
    std::uint32_t lastReportFlags_ = 0;
    std::string loadedFrom_;
    std::vector<Grid> comparisonGrids_;  // the last comparison's, for its exports
    // Marks: the line the last run listed from, the rows it marked, and the scored script while
    // they are not all of its rows (to list others).
    std::size_t listFrom_ = 1;
    MarkedRows markedRows_;
    std::string scoredScript_;
    std::string reportNotice_;
    std::string marksNotice_;
};

}  // namespace quillon::app
