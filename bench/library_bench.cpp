// The library's speed: each sample script, generated mixes of 1 MiB and 16 MiB, and a floor
// that only splits the same text into lines and reads every word as a number.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <charconv>
#include <cstring>
#include <string>

#include "bench/script_mix.hpp"
#include "app/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

const std::string& Mix(std::size_t mib) {
    static const std::string one = quillon::bench::ScriptMix(1 * kMiB);
    static const std::string sixteen = quillon::bench::ScriptMix(16 * kMiB - 64);
    return mib == 1 ? one : sixteen;
}

// The least any scorer must do: find every line with memchr and read each blank-delimited
// word with from_chars.
double Floor(const std::string& text) {
    double sum = 0;
    const char* pos = text.data();
    const char* const end = pos + text.size();
    while (pos < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(pos, '\n', static_cast<std::size_t>(end - pos)));
        if (lineEnd == nullptr) lineEnd = end;
        const char* word = pos;
        while (word < lineEnd) {
            while (word < lineEnd && (*word == ' ' || *word == '\r')) ++word;
            const char* wordEnd = word;
            while (wordEnd < lineEnd && *wordEnd != ' ' && *wordEnd != '\r') ++wordEnd;
            double value = 0;
            if (std::from_chars(word, wordEnd, value).ec == std::errc()) sum += value;
            word = wordEnd;
        }
        pos = lineEnd + 1;
    }
    return sum;
}

void Sample(benchmark::State& state) {
    const auto& text = quillon::BuiltInSamples[static_cast<unsigned>(state.range(0) - 1)].text;
    for (auto _ : state) benchmark::DoNotOptimize(quillon::ScoreScript(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(Sample)->DenseRange(2, 5)->Unit(benchmark::kMicrosecond);

void RunMix(benchmark::State& state) {
    const std::string& text = Mix(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(quillon::ScoreScript(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(RunMix)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

// The same run keeping the line-by-line account, as the window does.
void RunMixWithAccount(benchmark::State& state) {
    const std::string& text = Mix(static_cast<std::size_t>(state.range(0)));
    std::size_t problems = 0;
    for (auto _ : state) problems = quillon::InterpretScript(text, {}, true).account.problems.size();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["problems"] = static_cast<double>(problems);
}
BENCHMARK(RunMixWithAccount)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

void FloorMix(benchmark::State& state) {
    const std::string& text = Mix(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(Floor(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(FloorMix)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

// Run time over floor time, both timed in each iteration, taking turns; the fastest of each
// is kept, since on a shared machine interference only ever adds time.
template <typename Run>
void MeasureRatio(benchmark::State& state, const std::string& text, Run run) {
    double fastestRun = 1e9;
    double fastestFloor = 1e9;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        run(text);
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Floor(text));
        const auto t2 = std::chrono::steady_clock::now();
        fastestRun = std::min(fastestRun, std::chrono::duration<double>(t1 - t0).count());
        fastestFloor = std::min(fastestFloor, std::chrono::duration<double>(t2 - t1).count());
    }
    state.counters["run_over_floor"] = fastestRun / fastestFloor;
    state.counters["run_ms"] = fastestRun * 1e3;
    state.counters["floor_ms"] = fastestFloor * 1e3;
}

void RatioToFloor(benchmark::State& state) {
    MeasureRatio(state, Mix(16), [](const std::string& text) { benchmark::DoNotOptimize(quillon::ScoreScript(text)); });
}
BENCHMARK(RatioToFloor)->Unit(benchmark::kMillisecond)->Iterations(11);

// The same ratio for 16 MiB of one kind of line, plain and keeping the account (--check).
void RatioToFloorByKind(benchmark::State& state) {
    const auto kind = static_cast<quillon::bench::LineKindMix>(state.range(0));
    const bool account = state.range(1) != 0;
    MeasureRatio(state, quillon::bench::ScriptOfKind(kind, 16 * kMiB - 64), [account](const std::string& text) {
        benchmark::DoNotOptimize(quillon::InterpretScript(text, {}, account).report.size());
    });
    state.SetLabel(std::string(quillon::bench::KindName(kind)) + (account ? " --check" : ""));
}
BENCHMARK(RatioToFloorByKind)
    ->ArgsProduct({benchmark::CreateDenseRange(0, static_cast<int>(quillon::bench::LineKindMix::Count) - 1, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(11);

}  // namespace

BENCHMARK_MAIN();
