// The library's entry and the built-in texts, as the page's JavaScript sees them.
#include <emscripten/bind.h>

#include <string>

#include "codec/decode.hpp"
#include "script/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace {

std::string ScoreScriptText(const std::string& script) { return quillon::ScoreScript(script); }

emscripten::val BuiltInTexts() {
    emscripten::val texts = emscripten::val::array();
    for (const auto& sample : quillon::BuiltInSamples) {
        emscripten::val entry = emscripten::val::object();
        entry.set("label", std::string(sample.label));
        entry.set("text", std::string(sample.text));
        entry.set("scored", sample.scored);
        texts.call<void>("push", entry);
    }
    return texts;
}

// The report and the problems of the run, each problem with the row (from 0) of the text on
// which its line starts, for marking it in the script box.
emscripten::val CheckScript(const std::string& script) {
    const quillon::ScriptRun run = quillon::InterpretScript(script, {}, true);
    emscripten::val problems = emscripten::val::array();
    std::size_t row = 0;
    std::size_t scanned = 0;
    for (const quillon::Problem& p : run.account.problems) {
        for (; scanned < p.offset && scanned < script.size(); ++scanned) {
            if (script[scanned] == '\n') ++row;
        }
        emscripten::val entry = emscripten::val::object();
        entry.set("line", static_cast<double>(p.line));
        entry.set("column", static_cast<double>(p.column));
        entry.set("endColumn", static_cast<double>(p.endColumn));
        entry.set("row", static_cast<double>(row));
        entry.set("code", std::string(p.code));
        entry.set("message", p.message);
        problems.call<void>("push", entry);
    }
    emscripten::val result = emscripten::val::object();
    result.set("report", run.report);
    result.set("problems", problems);
    return result;
}

// A file's bytes (a Uint8Array) as the script text, through the same decoder as the desktop's.
emscripten::val DecodeScriptBytes(const std::string& bytes) {
    const quillon::codec::DecodedScript decoded = quillon::codec::DecodeScript(bytes, quillon::codec::InputEncoding::Auto);
    emscripten::val result = emscripten::val::object();
    result.set("text", decoded.text);
    result.set("encoding", std::string(decoded.encoding));
    result.set("binary", decoded.binary);
    return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(quillon) {
    emscripten::function("decodeScript", &DecodeScriptBytes);
    emscripten::function("scoreScript", &ScoreScriptText);
    emscripten::function("checkScript", &CheckScript);
    emscripten::function("builtInTexts", &BuiltInTexts);
}
