// Any bytes as a script: the run must not crash, its report must be valid UTF-8 within the
// report cap, the same input must always give the same report, and keeping the account must
// not change it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/decode.hpp"
#include "codec/encoding.hpp"
#include "text/gbk_width.hpp"
#include "scoring/report_text.hpp"
#include "text/utf8.hpp"
#include "script/interpreter.hpp"

namespace {

void CheckReport(const std::string& report) {
    if (quillon::GbkWidth(report) > quillon::kReportCapBytes) std::abort();
    if (!quillon::IsValidUtf8(report)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The raw bytes straight into the library, which must cope with anything.
    const std::string report = quillon::ScoreScript(bytes);
    CheckReport(report);
    if (quillon::ScoreScript(bytes) != report) std::abort();
    // Tracing and keeping the account of every line never change the report.
    std::size_t traced = 0;
    if (quillon::ScoreScript(bytes, [&](std::string_view line) { traced += line.size(); }) != report) std::abort();
    const quillon::ScriptRun accounted = quillon::InterpretScript(bytes, {}, true);
    if (accounted.report != report || !accounted.lastReport) std::abort();
    for (const quillon::Problem& problem : accounted.account.problems) {
        if (problem.line == 0) std::abort();
        if (!quillon::IsValidUtf8(problem.message)) std::abort();
    }

    // The way the front ends feed it: decoded from its encoding, the report encoded as GBK.
    const std::string decoded = quillon::codec::DecodeScript(bytes, quillon::codec::InputEncoding::Auto).text;
    if (!quillon::IsValidUtf8(decoded)) std::abort();
    const std::string decodedReport = quillon::ScoreScript(decoded);
    CheckReport(decodedReport);
    if (quillon::codec::GbkToUtf8(quillon::codec::Utf8ToGbk(decodedReport)).empty() && !decodedReport.empty()) {
        std::abort();
    }
    return 0;
}
