// The library's entry and the built-in texts, as the page's JavaScript sees them.
#include <emscripten/bind.h>

#include <string>

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

}  // namespace

EMSCRIPTEN_BINDINGS(quillon) {
    emscripten::function("scoreScript", &ScoreScriptText);
    emscripten::function("builtInTexts", &BuiltInTexts);
}
