// quillon-score end to end: options, encodings, exit codes and the golden scripts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "codec/encoding.hpp"
#include "script/builtin_texts.hpp"
#include "test_support.hpp"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

fs::path WorkDir() {
    const fs::path dir = fs::path(::testing::TempDir()) / "quillon_cli_test";
    fs::create_directories(dir);
    return dir;
}

// Runs the tool with the arguments (shell words) and, when given, the bytes on standard input.
ToolResult RunTool(const std::string& arguments, const std::string* input = nullptr) {
    const fs::path dir = WorkDir();
    std::string command = std::string("'") + QUILLON_SCORE_PATH + "' " + arguments;
    if (input != nullptr) {
        WriteFile(dir / "stdin", *input);
        command += " < '" + (dir / "stdin").string() + "'";
    } else {
        command += " < /dev/null";
    }
    command += " > '" + (dir / "stdout").string() + "' 2> '" + (dir / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    ToolResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadFile(dir / "stdout");
    result.err = ReadFile(dir / "stderr");
    return result;
}

TEST(Cli, SamplesPrintTheirReports) {
    const ToolResult four = RunTool("--sample 4");
    EXPECT_EQ(four.exitCode, 0);
    EXPECT_EQ(four.out, ScoreScript(BuiltInSamples[3].text));
    EXPECT_NE(four.out.find("4级 密评总分=  69.680  69.6798"), std::string::npos);
    EXPECT_EQ(four.err, "");
    EXPECT_NE(RunTool("--sample 2").out.find("2级 密评总分=  64.230  64.2306"), std::string::npos);
}

TEST(Cli, ReadsFilesDashAndPipedInput) {
    const std::string script = "mpinit=4\r\n@@1 0.5 1 0.5\r\n";
    WriteFile(WorkDir() / "a.txt", script);
    const std::string expected = ScoreScript(script);
    EXPECT_EQ(RunTool("'" + (WorkDir() / "a.txt").string() + "'").out, expected);
    EXPECT_EQ(RunTool("-", &script).out, expected);
    EXPECT_EQ(RunTool("", &script).out, expected);
}

TEST(Cli, DecodesGbkInputAndWritesGbkOutput) {
    const std::string script = "mpecho 中文注释\r\nmpout\r\n";
    const std::string gbkScript = codec::Utf8ToGbk(script);
    const ToolResult utf8Out = RunTool("-", &gbkScript);
    EXPECT_EQ(utf8Out.out, ScoreScript(script));
    const ToolResult gbkOut = RunTool("--output-encoding gbk", &gbkScript);
    EXPECT_EQ(gbkOut.out, codec::Utf8ToGbk(ScoreScript(script)));
    const std::string emptyScript;
    const ToolResult notice = RunTool("--output-encoding gbk", &emptyScript);
    EXPECT_EQ(notice.out.substr(notice.out.size() - 68), codec::Utf8ToGbk(kClosingNotice));
    // Forced encodings.
    EXPECT_EQ(RunTool("--input-encoding gbk", &gbkScript).out, ScoreScript(script));
    EXPECT_NE(RunTool("--input-encoding utf-8", &gbkScript).out, ScoreScript(script));
}

TEST(Cli, UnreadableInputFailsWithOneLineNamingTheFile) {
    const ToolResult missing = RunTool("/nonexistent/script.txt");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "quillon-score: /nonexistent/script.txt: No such file or directory\n");
    const ToolResult folder = RunTool("'" + WorkDir().string() + "'");
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_NE(folder.err.find("folder"), std::string::npos);
}

TEST(Cli, ScriptsOverTheLimitAreRefused) {
    const fs::path big = WorkDir() / "big.txt";
    std::string script = "mpout\r\n";
    script.resize(16777215, ' ');
    WriteFile(big, script);
    const ToolResult atLimit = RunTool("'" + big.string() + "'");
    EXPECT_EQ(atLimit.exitCode, 0);
    EXPECT_EQ(atLimit.out, ScoreScript("mpout"));
    script.push_back(' ');
    WriteFile(big, script);
    const ToolResult over = RunTool("'" + big.string() + "'");
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_EQ(over.out, "");
    EXPECT_NE(over.err.find("16777215"), std::string::npos);
    const ToolResult overStdin = RunTool("-", &script);
    EXPECT_EQ(overStdin.exitCode, 1);
    fs::remove(big);
}

TEST(Cli, ScriptEndsAtItsFirstNul) {
    const std::string script("mpout\r\n\0mpinit=4\r\n", 19);
    EXPECT_EQ(RunTool("-", &script).out, ScoreScript("mpout"));
}

TEST(Cli, BadUsageExitsWith2) {
    EXPECT_EQ(RunTool("--sample 6").exitCode, 2);
    EXPECT_EQ(RunTool("--sample 1").exitCode, 2);
    EXPECT_EQ(RunTool("--no-such-option").exitCode, 2);
    EXPECT_EQ(RunTool("--input-encoding latin1 -").exitCode, 2);
    EXPECT_EQ(RunTool("--sample 2 file.txt").exitCode, 2);
    EXPECT_EQ(RunTool("a.txt b.txt").exitCode, 2);
}

TEST(Cli, HelpVersionAndTrace) {
    const ToolResult help = RunTool("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--output-encoding"), std::string::npos);
    const ToolResult version = RunTool("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("quillon-score"), std::string::npos);
    const std::string script = "@@9 1\r\nmpout";
    const ToolResult traced = RunTool("--trace -", &script);
    EXPECT_EQ(traced.out, ScoreScript(script));
    EXPECT_NE(traced.err.find("deal_CC 必须 @@1-8 \n"), std::string::npos);
}

TEST(Cli, CheckPrintsProblemsAndExitsOneWhenThereAreAny) {
    const std::string script = "mpinit=4\r\n@@9 1\r\n$$4.2 VVX / VVV\r\n";
    const ToolResult checked = RunTool("--check -", &script);
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_EQ(checked.out,
              "-:2: 警告[Q201]: 层面指令应写成 @@1～@@8，本行未改变任何得分\n"
              "-:3: 警告[Q304]: 对象列表在“/”处中断：它不是判定、数字或表达式，它和其后的对象都未计入\n");
    const std::string clean = "mpinit=4\r\n@@1 1 1 1\r\n";
    const ToolResult fine = RunTool("--check -", &clean);
    EXPECT_EQ(fine.exitCode, 0);
    EXPECT_EQ(fine.out, "");
    WriteFile(WorkDir() / "named.txt", script);
    EXPECT_EQ(RunTool("--check '" + (WorkDir() / "named.txt").string() + "'").out.rfind(
                  (WorkDir() / "named.txt").string() + ":2: 警告[Q201]", 0),
              0u);
    const ToolResult json = RunTool("--check --format json -", &script);
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("\"code\": \"Q304\""), std::string::npos);
    EXPECT_NE(json.out.find("\"taken_as\": \"unit\""), std::string::npos);
}

TEST(Cli, JsonResultsOfTheLastReport) {
    const ToolResult json = RunTool("--format json --sample 4");
    EXPECT_EQ(json.exitCode, 0);
    for (const char* field : {"\"level\": 4", "\"name\": \"物理和环境\"", "\"rounded_total\": 69.68",
                              "\"total\": 69.6798", "\"weighted_sum\": 42.771", "\"compliant\": 21",
                              "\"non_compliant\": 1", "\"partly_compliant\": 16", "\"not_entered\": 0",
                              "\"marker\": \"not_applicable\"", "\"group\": \"management\""}) {
        EXPECT_NE(json.out.find(field), std::string::npos) << field;
    }
    const std::string cleared = "mpinit=1 2\r\n@@1 - -\r\nmpout\r\n@@2 1";
    const ToolResult markers = RunTool("--format json -", &cleared);
    for (const char* field : {"\"marker\": \"not_entered\"", "\"marker\": \"not_assessed\"",
                              "\"marker\": \"no_unit_counted\"", "\"not_entered\": 22"}) {
        EXPECT_NE(markers.out.find(field), std::string::npos) << field;
    }
}

// Every script in tests/golden gives, as GBK, exactly the report stored beside it.
TEST(Cli, GoldenScripts) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(QUILLON_GOLDEN_DIR)) {
        if (entry.path().extension() != ".qs") continue;
        fs::path expected = entry.path();
        expected.replace_extension(".gbk");
        const ToolResult result =
            RunTool("--output-encoding gbk '" + entry.path().string() + "'");
        EXPECT_EQ(result.exitCode, 0) << entry.path();
        EXPECT_EQ(result.out, ReadFile(expected)) << entry.path();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace quillon::test
