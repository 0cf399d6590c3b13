// The library and the front ends' model, as the page's JavaScript sees them. The page's worker
// holds one FrontEnd and hands it the page's events; the page applies what comes back.
#include <emscripten/bind.h>

#include <string>
#include <vector>

#include "app/front_end.hpp"
#include "codec/decode.hpp"
#include "app/builtin_texts.hpp"
#include "scoring/limits.hpp"
#include "script/interpreter.hpp"

namespace {

using emscripten::val;

std::string ScoreScriptText(const std::string& script) { return quillon::ScoreScript(script); }

val BuiltInTexts() {
    val texts = val::array();
    for (const auto& sample : quillon::BuiltInSamples) {
        val entry = val::object();
        entry.set("label", std::string(sample.label));
        entry.set("menuCaption", std::string(sample.menuCaption));
        entry.set("text", std::string(sample.text));
        entry.set("scored", sample.scored);
        texts.call<void>("push", entry);
    }
    return texts;
}

// The export formats in menu order, for the page's menu: name and menu words.
val ExportFormats() {
    val formats = val::array();
    for (const quillon::app::ExportFormat& format : quillon::app::ExportFormats()) {
        val entry = val::object();
        entry.set("name", std::string(format.name));
        entry.set("menu", quillon::app::ExportMenuText(format));
        formats.call<void>("push", entry);
    }
    return formats;
}

// A file's bytes (a Uint8Array) as the script text, through the same decoder as the desktop's.
val DecodeScriptBytes(const std::string& bytes) {
    const quillon::codec::DecodedScript decoded = quillon::codec::DecodeScript(bytes, quillon::codec::InputEncoding::Auto);
    val result = val::object();
    result.set("text", decoded.text);
    result.set("encoding", std::string(decoded.encoding));
    result.set("binary", decoded.binary);
    return result;
}

// A copy the page keeps, as bytes: never through a text decoder.
val Bytes(const std::string& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return val::global("Uint8Array").new_(val(emscripten::typed_memory_view(bytes.size(), data)));
}

val MarksValue(const std::vector<quillon::app::Mark>& marks) {
    val list = val::array();
    for (const quillon::app::Mark& m : marks) {
        val entry = val::object();
        entry.set("row", static_cast<double>(m.row));
        entry.set("begin", static_cast<double>(m.begin));
        entry.set("end", static_cast<double>(m.end));
        entry.set("beginCell", static_cast<double>(m.beginCell));
        entry.set("endCell", static_cast<double>(m.endCell));
        entry.set("message", m.message);
        entry.set("note", m.note);
        list.call<void>("push", entry);
    }
    return list;
}

// The model with its updates as plain objects; every update also carries the model's state.
class PageFrontEnd {
public:
    val start() { return value(model_.start()); }
    val edited(const std::string& script) { return value(model_.edited(script)); }
    val computeClicked(const std::string& script) { return value(model_.computeClicked(script)); }
    val realTimeClicked(bool checked, const std::string& script) { return value(model_.realTimeClicked(checked, script)); }
    val sampleChosen(int index) { return value(model_.sampleChosen(index)); }
    // status: "read", "unreadable" or "tooLarge"
    val fileRead(const std::string& name, const std::string& status, std::string bytes) {
        return value(model_.fileRead(name, FileOf(status, std::move(bytes))));
    }
    // "homePage", "help" or "donationPicture"
    val link(const std::string& which) {
        return value(model_.link(which == "help" ? quillon::app::LinkCommand::Help
                                                 : (which == "homePage" ? quillon::app::LinkCommand::HomePage
                                                                        : quillon::app::LinkCommand::DonationPicture)));
    }
    val f2Pressed(bool controlFocused) { return value(model_.f2Pressed(controlFocused)); }
    // The last report's tables as exported() gives them.
    val exportTables(const std::string& which) const {
        return exported(which, [this](const quillon::app::ExportFormat& format) { return model_.exportTables(format); },
                        quillon::app::FrontEnd::ExportName);
    }
    // 与脚本文件比较: the chosen file (status as for fileRead) before the script: {text, message}.
    val compareWithFile(const std::string& name, const std::string& status, std::string bytes, const std::string& script) {
        const quillon::app::ComparisonShown shown = model_.compareWithFile(name, FileOf(status, std::move(bytes)), script);
        val result = val::object();
        result.set("text", shown.text);
        result.set("message", shown.message);
        return result;
    }
    // The last comparison's tables, as exportTables gives a report's.
    val exportComparison(const std::string& which) const {
        return exported(which, [this](const quillon::app::ExportFormat& format) { return model_.exportComparison(format); },
                        quillon::app::FrontEnd::ComparisonExportName);
    }
    // The marks of rows first to last (from 0), when the last ones given do not hold them.
    val marksFor(double first, double last) {
        return value(model_.marksFor(static_cast<std::size_t>(first), static_cast<std::size_t>(last)));
    }
    // 分析: {head, columns, units: [row, …]}; whatIf takes the rows ticked, as numbers.
    val analysis() const {
        const quillon::app::Analysis shown = model_.analysis();
        val result = val::object();
        result.set("head", shown.head);
        result.set("columns", shown.columns);
        val units = val::array();
        for (const std::string& row : shown.units) units.call<void>("push", row);
        result.set("units", units);
        return result;
    }
    std::string whatIf(const val& ticked) const {
        std::vector<std::size_t> rows;
        for (const double row : emscripten::vecFromJSArray<double>(ticked)) {
            if (row >= 0) rows.push_back(static_cast<std::size_t>(row));
        }
        return model_.whatIf(rows);
    }
    std::string wordTip(const std::string& row, double line, double column) const {
        return model_.wordTip(row, static_cast<std::size_t>(line), static_cast<std::size_t>(column));
    }
    // The script as a downloaded file holds it, as bytes for the same reason; the download
    // counts as saved.
    val save(const std::string& script) {
        val result = value(quillon::app::Update{});
        result.set("file", Bytes(quillon::app::FrontEnd::ForSaving(script)));
        result.set("name", model_.proposedSavePath());
        model_.saved({model_.proposedSavePath(), false});
        result.set("state", state());
        return result;
    }

private:
    static quillon::app::FileRead FileOf(const std::string& status, std::string bytes) {
        quillon::app::FileRead file;
        file.status = status == "read" ? quillon::app::FileRead::Status::Read
                                       : (status == "tooLarge" ? quillon::app::FileRead::Status::TooLarge
                                                               : quillon::app::FileRead::Status::Unreadable);
        file.bytes = std::move(bytes);  // up to 16 MiB: not copied again
        return file;
    }
    // A name of exportFormats(): the file's bytes exactly (a string would lose the CSV's byte-order
    // mark on its way through the browser's decoder), its name and type, or the message why there
    // is none. Another name is the page's fault, said rather than taken for some format.
    template <typename Export>
    static val exported(const std::string& which, Export file, std::string (*name)(const quillon::app::ExportFormat&)) {
        val result = val::object();
        const quillon::app::ExportFormat* format = quillon::app::FindExportFormat(which);
        if (format == nullptr) {
            result.set("message", "没有这种导出格式：" + which);
            return result;
        }
        const quillon::app::ExportedFile made = file(*format);
        if (!made.problem.empty()) {
            result.set("message", made.problem);
            return result;
        }
        result.set("file", Bytes(made.bytes));
        result.set("name", name(*format));
        result.set("type", std::string(format->mime));
        return result;
    }

    val state() const {
        val s = val::object();
        s.set("realTime", model_.realTime());
        s.set("computeEnabled", model_.computeEnabled());
        s.set("sampleIndex", model_.sampleIndex());
        s.set("modified", model_.modified());
        s.set("reportNotice", model_.reportNotice());
        s.set("marksNotice", model_.marksNotice());
        const auto& rows = model_.markedRows();
        s.set("markedFirst", static_cast<double>(rows.first));
        s.set("markedEnd", rows.end == SIZE_MAX ? val::global("Infinity") : val(static_cast<double>(rows.end)));
        return s;
    }

    val value(const quillon::app::Update& update) const {
        val result = val::object();
        if (update.script) result.set("script", *update.script);
        if (update.report) result.set("report", *update.report);
        if (update.marks) result.set("marks", MarksValue(*update.marks));
        if (update.message) result.set("message", *update.message);
        if (update.link) result.set("link", *update.link);
        result.set("state", state());
        return result;
    }

    quillon::app::FrontEnd model_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(quillon) {
    emscripten::function("decodeScript", &DecodeScriptBytes);
    emscripten::function("scoreScript", &ScoreScriptText);
    emscripten::function("builtInTexts", &BuiltInTexts);
    emscripten::function("exportFormats", &ExportFormats);
    emscripten::constant("maxScriptBytes", static_cast<double>(quillon::kMaxScriptBytes));
    emscripten::class_<PageFrontEnd>("FrontEnd")
        .constructor<>()
        .function("start", &PageFrontEnd::start)
        .function("edited", &PageFrontEnd::edited)
        .function("computeClicked", &PageFrontEnd::computeClicked)
        .function("realTimeClicked", &PageFrontEnd::realTimeClicked)
        .function("sampleChosen", &PageFrontEnd::sampleChosen)
        .function("fileRead", &PageFrontEnd::fileRead)
        .function("link", &PageFrontEnd::link)
        .function("f2Pressed", &PageFrontEnd::f2Pressed)
        .function("save", &PageFrontEnd::save)
        .function("wordTip", &PageFrontEnd::wordTip)
        .function("exportTables", &PageFrontEnd::exportTables)
        .function("compareWithFile", &PageFrontEnd::compareWithFile)
        .function("exportComparison", &PageFrontEnd::exportComparison)
        .function("marksFor", &PageFrontEnd::marksFor)
        .function("analysis", &PageFrontEnd::analysis)
        .function("whatIf", &PageFrontEnd::whatIf);
}
