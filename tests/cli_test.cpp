// quillon-score end to end: options, encodings, exit codes and the golden scripts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include "codec/encoding.hpp"
#include "iconv_reference.hpp"
#include "app/builtin_texts.hpp"
#include "app/front_end.hpp"
#include "scoring/text_format.hpp"
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

// Each test has a folder of its own, so that tests run side by side never share files.
fs::path WorkDir() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name() + "." +
                       std::to_string(::getpid());
    for (char& c : name) {
        if (c == '/') c = '_';  // parameterised names hold slashes
    }
    const fs::path dir = fs::path(::testing::TempDir()) / "quillon_cli_test" / name;
    fs::create_directories(dir);
    return dir;
}

// The tool as a shell command: the one built beside these tests, or QUILLON_SCORE_COMMAND (the
// Windows build's, say, through Wine).
std::string Tool() {
    const char* command = std::getenv("QUILLON_SCORE_COMMAND");
    return command != nullptr && *command != '\0' ? std::string(command) + " " : std::string("'") + QUILLON_SCORE_PATH + "' ";
}

// A test that runs the tool's Linux build itself, not one through Wine.
bool ToolIsNative() {
    const char* command = std::getenv("QUILLON_SCORE_COMMAND");
    return command == nullptr || *command == '\0';
}

// Runs the tool with the arguments (shell words) and, when given, the bytes on standard input;
// or, with `program` given, that command line (shell words) instead of the tool.
ToolResult RunOnce(const std::string& arguments, const std::string* input, const std::string& program) {
    const fs::path dir = WorkDir();
    std::string command = program + arguments;
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

// A start under a launcher (Wine) that ends with a code the tool never gives (0 to 2) and without a
// word of the tool's failed around the tool, not in it (Wine's loader has been seen to fail its own
// exit after a finished report): it is tried again, and said. Any failure of the native tool is final.
ToolResult RunTool(const std::string& arguments, const std::string* input = nullptr, const std::string& program = Tool()) {
    ToolResult result = RunOnce(arguments, input, program);
    const auto launcherFailed = [&] {
        return !ToolIsNative() && program == Tool() && (result.exitCode < 0 || result.exitCode > 2) &&
               result.err.find("quillon-score:") == std::string::npos;
    };
    for (int retry = 0; retry < 2 && launcherFailed(); ++retry) {
        std::cout << "the launcher failed without a word of the tool's (exit " << result.exitCode << ", \""
                  << result.err.substr(0, 300) << "\"); trying again\n";
        result = RunOnce(arguments, input, program);
    }
    return result;
}

// What a failed expectation about a run shows: its exit code, its errors and how its output starts.
std::string Shown(const ToolResult& result) {
    return "exit code " + std::to_string(result.exitCode) + ", stderr \"" + result.err + "\", stdout of " +
           std::to_string(result.out.size()) + " bytes starting \"" + result.out.substr(0, 200) + "\"";
}

// Every line on standard error is the tool's, in its words.
void ExpectOwnLines(const ToolResult& result, const std::string& what) {
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) EXPECT_EQ(line.rfind("quillon-score: ", 0), 0u) << what << ": " << line;
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
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "quillon-score: /nonexistent/script.txt: No such file or directory\n");
    const ToolResult folder = RunTool("'" + WorkDir().string() + "'");
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_NE(folder.err.find("folder"), std::string::npos);
    // An empty name is a missing file, not standard input.
    const std::string script = "mpout";
    const ToolResult empty = RunTool("''", &script);
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "quillon-score: '': no such file (the file name is empty)\n");
    // A binary is no script.
    const ToolResult binary = RunTool("/bin/ls");
    EXPECT_EQ(binary.exitCode, 2);
    EXPECT_EQ(binary.out, "");
    EXPECT_EQ(binary.err, "quillon-score: /bin/ls: not a text file (NUL bytes within its first 8192 bytes); nothing scored\n");
}

TEST(Cli, WriteErrorsAreTrouble) {
    for (const char* arguments : {"--sample 4", "--check --sample 2", "--format json --sample 3", "--help", "--version"}) {
        for (const char* redirect : {" > /dev/full", " >&-"}) {
            const std::string command = Tool() + arguments + redirect +
                                        " 2> '" + (WorkDir() / "err").string() + "'";
            const int status = std::system(command.c_str());
            EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << arguments << redirect;
            EXPECT_EQ(ReadFile(WorkDir() / "err").rfind("quillon-score: write error: ", 0), 0u) << arguments << redirect;
        }
    }
}

TEST(Cli, EveryEncodingAnEditorWrites) {
    const std::string script = "mpecho 某三级\r\n@@1 0 0 0\r\nmpout";
    const std::string yi = "mpecho 一\r\nmpout";  // U+4E00: a NUL byte where ASCII has none
    const std::pair<std::string, std::string> cases[] = {  // bytes, the script they are
        {"\xFF\xFE" + IconvEncode(script, "UTF-16LE"), script}, {"\xFE\xFF" + IconvEncode(script, "UTF-16BE"), script},
        {std::string("\xFF\xFE\0\0", 4) + IconvEncode(script, "UTF-32LE"), script}, {"\xEF\xBB\xBF" + script, script},
        {IconvEncode(script, "GB18030"), script},
        // UTF-16 without a mark.
        {IconvEncode(script, "UTF-16LE"), script}, {IconvEncode(yi, "UTF-16LE"), yi}, {IconvEncode(yi, "UTF-16BE"), yi}};
    for (const auto& [bytes, text] : cases) {
        const ToolResult result = RunTool("-", &bytes);
        EXPECT_EQ(result.exitCode, 0) << text;
        EXPECT_EQ(result.out, ScoreScript(text)) << text;
    }
    // GB18030's four-byte characters are characters.
    const std::string fourByte = "mpecho \x81\x30\x81\x30\x94\x39\xFC\x36";
    EXPECT_EQ(RunTool("-", &fourByte).out.substr(0, 15), "mpecho \xC2\x80\xF0\x9F\x98\x80\r\n");
}

TEST(Cli, LimitsCountGbkBytes) {
    // A 1999-byte GBK echo line comes out whole, 1999 bytes in GBK.
    std::string line = "mpecho";
    for (int i = 0; i < 996; ++i) line += "中";
    line += "a";
    const std::string gbkLine = codec::Utf8ToGbk(line);
    ASSERT_EQ(gbkLine.size(), 1999u);
    const std::string gbkScript = gbkLine + "\r\nmpout";
    EXPECT_EQ(RunTool("--output-encoding gbk -", &gbkScript).out.substr(0, 2001), gbkLine + "\r\n");
    // 12,000,000 bytes of GBK remarks, then the score lines: all of it is read.
    std::string remarks;
    for (int i = 0; i < 999; ++i) remarks += "注";
    std::string big;
    const std::string remarkLine = codec::Utf8ToGbk(remarks) + "\r\n";
    while (big.size() < 12000000) big += remarkLine;
    big += "@@1 0 0 0\r\nmpout";
    const ToolResult result = RunTool("-", &big);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, ScoreScript("@@1 0 0 0\r\nmpout"));
    EXPECT_EQ(RunTool("--check -", &big).out, "");
}

TEST(Cli, ACutReportIsToldAndExitsOne) {
    std::string script;
    for (int i = 0; i < 1500; ++i) script += "mpout\r\n";
    const ToolResult text = RunTool("-", &script);
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.out, ScoreScript(script));
    EXPECT_EQ(text.err, "quillon-score: the report reached its limit of 1048575 bytes and was cut there\n");
    const ToolResult json = RunTool("--format json -", &script);
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("\"report_truncated\": true"), std::string::npos);
    const ToolResult check = RunTool("--check -", &script);
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.out.find("警告[Q508]"), std::string::npos);
    EXPECT_NE(RunTool("--format json --sample 4").out.find("\"report_truncated\": false"), std::string::npos);
}

TEST(Cli, CheckListsAThousandProblemsAndCountsTheRest) {
    std::string script;
    for (int i = 0; i < 1500; ++i) script += "@@9\r\n";
    for (int i = 0; i < 20; ++i) script += "$$42\r\n";
    const ToolResult text = RunTool("--check -", &script);
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 1001);
    EXPECT_NE(text.out.find("-: 另有 520 个问题未列出：Q201 500 个, Q301 20 个\n"), std::string::npos);
    const ToolResult json = RunTool("--check --format json -", &script);
    EXPECT_NE(json.out.find("\"unlisted\": {\n    \"Q201\": 500,\n    \"Q301\": 20\n  }"), std::string::npos);
}

TEST(Cli, FileNamesThatAreNotUtf8) {
    const fs::path name = WorkDir() / "\xC3\xDC\xC6\xC0.qs";  // 密评.qs in GBK
    WriteFile(name, "@@9 1\r\n");
    const ToolResult json = RunTool("--check --format json '" + name.string() + "'");
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.qs\""), std::string::npos);
    EXPECT_EQ(json.err, "");
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
    EXPECT_EQ(over.exitCode, 2);
    EXPECT_EQ(over.out, "");
    EXPECT_NE(over.err.find("16777215"), std::string::npos);
    const ToolResult overStdin = RunTool("-", &script);
    EXPECT_EQ(overStdin.exitCode, 2);
    fs::remove(big);
}

TEST(Cli, ScriptEndsAtANulPastItsStart) {
    const std::string script = "mpout\r\n" + std::string(8200, ' ') + std::string("\0mpinit=4\r\n", 12);
    const ToolResult result = RunTool("-", &script);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, ScoreScript("mpout"));
    EXPECT_NE(RunTool("--check -", &script).out.find("警告[Q505]"), std::string::npos);
    // What is not read is counted in the file's bytes (GBK here), on the line the NUL is on.
    const std::string gbk = codec::Utf8ToGbk("mpout\r\n" + std::string(8200, ' ') + "\n") + '\0' + codec::Utf8ToGbk("中文注释");
    EXPECT_EQ(RunTool("--check -", &gbk).out, "-:2: 警告[Q504]: 本行超过 1999 字节，其后的部分被丢弃\n"
                                              "-:3: 警告[Q505]: 脚本在 NUL 字节处结束，其后的 8 字节未读入\n");
}

// Bytes that are no character become U+FFFD: the tool says so once, and --check lists each place.
TEST(Cli, BytesThatAreNoCharacterAreTold) {
    const std::string utf8 = "mpecho 测试\n# \xED\xA0\x80\n";
    const ToolResult read = RunTool("-", &utf8);
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out.substr(0, 15), "mpecho 测试\r\n");  // UTF-8, not GB18030
    EXPECT_EQ(read.err, "quillon-score: standard input: read as UTF-8; 3 places where the bytes are no character read as "
                        "U+FFFD (the first: 0xED at offset 16)\n");
    const ToolResult checked = RunTool("--check -", &utf8);
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_EQ(checked.out, "-:2:3: 警告[Q513]: 3 个不成字符的字节被读作 U+FFFD（替换字符），原来的内容已丢失\n");
    // GBK read as UTF-8 because it was asked for.
    const std::string gbk = codec::Utf8ToGbk("mpout\r\n# 中文\r\n");
    const ToolResult insisted = RunTool("--check --input-encoding utf-8 -", &gbk);
    EXPECT_EQ(insisted.exitCode, 1);
    EXPECT_EQ(insisted.out, "-:2:3: 警告[Q513]: 4 个不成字符的字节被读作 U+FFFD（替换字符），原来的内容已丢失\n");
    EXPECT_NE(insisted.err.find("(the first: 0xD6 at offset 9)"), std::string::npos);
    const std::string loneSurrogate("\xFF\xFEm\0\0\xDC", 6);
    const ToolResult utf16 = RunTool("--check --format json -", &loneSurrogate);
    EXPECT_NE(utf16.out.find("\"code\": \"Q513\""), std::string::npos);
    EXPECT_NE(utf16.err.find("read as UTF-16LE; 1 place where the bytes are no character read as U+FFFD (the first: "
                             "0x00 0xDC at offset 4)"), std::string::npos);
    EXPECT_EQ(RunTool("-", &gbk).err, "");
}

// Peak memory on the largest inputs, as the README promises: Chinese in any encoding within
// 3 × the input + 16 MiB, input whose every byte becomes three UTF-8 bytes within 80 MiB.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

TEST(Cli, MemoryOnTheLargestInputs) {
    if (kSanitized) GTEST_SKIP() << "the sanitizer's own memory";
    if (!ToolIsNative()) GTEST_SKIP() << "another program's memory";
    const fs::path file = WorkDir() / "big.txt";
    const auto peakMiB = [&](const std::string& bytes, const char* options) {
        WriteFile(file, bytes);
        const std::string command = Tool() + options + " '" + file.string() + "' > /dev/null 2>&1";
        EXPECT_NE(std::system(command.c_str()), -1);
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);  // the largest child so far
        return static_cast<double>(usage.ru_maxrss) / 1024;
    };
    std::string chinese;
    const std::string line = codec::Utf8ToGbk("# 这是中文注释，说明测评范围和对象\r\n@@1 0.5 1 0.5\r\n");
    while (chinese.size() + line.size() <= quillon::kMaxScriptBytes) chinese += line;
    EXPECT_LE(peakMiB(chinese, "--check"), 3 * 16 + 16);
    EXPECT_LE(peakMiB(std::string(quillon::kMaxScriptBytes, '\x80'), "--check --format json"), 80);
    EXPECT_LE(peakMiB(std::string(quillon::kMaxScriptBytes, '\xFF'), ""), 80);
    fs::remove(file);
}

// Refused command lines are told in the tool's own words, one line, exit code 2.
TEST(Cli, BadUsageExitsWith2) {
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"--sample 6", "--sample takes one of 2, 3, 4, 5, not '6'"},
        {"--sample 1", "--sample takes one of 2, 3, 4, 5, not '1'"},
        {"--sample 0x3", "--sample takes one of 2, 3, 4, 5, not '0x3'"},
        {"--sample", "--sample needs a value"},
        {"--sample 2 --sample 3", "--sample is given more than once"},
        {"--no-such-option", "there is no option --no-such-option"},
        {"--input-encoding latin1 -", "--input-encoding takes one of auto, utf-8, gbk, not 'latin1'"},
        {"--input-encoding 2 --sample 2", "--input-encoding takes one of auto, utf-8, gbk, not '2'"},
        {"--output-encoding 0 --sample 2", "--output-encoding takes one of utf-8, gbk, not '0'"},
        {"--format 1 --sample 2", "--format takes one of text, json, csv, html, xlsx, docx, not '1'"},
        {"--format json --format csv --sample 2", "--format is given more than once"},
        {"--sample 2 file.txt", "--sample scores a built-in script: it takes no FILE"},
        {"a.txt --compare b.txt c.txt", "--compare takes two scripts, BEFORE and AFTER: 'a.txt' would be a third"},
        {"--compare a.txt", "--compare needs two scripts, BEFORE and AFTER"},
        {"--compare a.txt b.txt --check", "--compare goes with no --sample, --check or --explain"},
        {"--sample 4 --compare a.txt b.txt", "--compare goes with no --sample, --check or --explain"},
        {"--explain a.txt b.txt", "--explain takes one script at a time"},
        {"--check --explain --sample 2", "--check and --explain do not go together"},
        {"--explain --check --sample 4", "--check and --explain do not go together"},
        {"--assume 4.4 --sample 4", "--assume goes with --explain"},
    };
    for (const auto& c : cases) {
        const ToolResult refused = RunTool(c.arguments);
        EXPECT_EQ(refused.exitCode, 2) << c.arguments;
        EXPECT_EQ(refused.out, "") << c.arguments;
        EXPECT_EQ(refused.err, "quillon-score: " + std::string(c.message) + " (quillon-score --help lists the options)\n")
            << c.arguments;
    }
}

TEST(Cli, HelpVersionAndTrace) {
    const ToolResult help = RunTool("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--output-encoding"), std::string::npos);
    EXPECT_EQ(help.out.find("->"), std::string::npos);  // no internal values
    EXPECT_NE(help.out.find("Usage: quillon-score "), std::string::npos);
    EXPECT_NE(help.out.find("Exit codes: 0 success"), std::string::npos);
    const ToolResult version = RunTool("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("quillon-score"), std::string::npos);
    const std::string script = "@@9 1\r\nmpout";
    const ToolResult traced = RunTool("--trace -", &script);
    EXPECT_EQ(traced.out, ScoreScript(script));
    EXPECT_NE(traced.err.find("quillon-score: deal_CC 必须 @@1-8 \n"), std::string::npos);
    ExpectOwnLines(traced, "--trace");
}

TEST(Cli, CheckPrintsProblemsAndExitsOneWhenThereAreAny) {
    const std::string script = "mpinit=4\r\n@@9 1\r\n$$4.2 VVX / VVV\r\n";
    const ToolResult checked = RunTool("--check -", &script);
    EXPECT_EQ(checked.exitCode, 1);
    EXPECT_EQ(checked.out,
              "-:2:1: 警告[Q201]: 层面指令应写成 @@1～@@8，本行未改变任何得分\n"
              "-:3:11: 警告[Q304]: 对象列表在“/”处中断：它不是判定、数字或表达式，它和其后的对象都未计入\n");
    // A problem about a unit names it by its title too.
    const std::string unit = "mpinit=4\r\n@@1 1 1.5\r\n";
    EXPECT_NE(RunTool("--check -", &unit).out.find("单元 1.2（物理和环境安全_2.电子门禁记录数据存储完整性）"), std::string::npos);
    const std::string clean = "mpinit=4\r\n@@1 1 1 1\r\n";
    const ToolResult fine = RunTool("--check -", &clean);
    EXPECT_EQ(fine.exitCode, 0);
    EXPECT_EQ(fine.out, "");
    WriteFile(WorkDir() / "named.txt", script);
    EXPECT_EQ(RunTool("--check '" + (WorkDir() / "named.txt").string() + "'").out.rfind(
                  (WorkDir() / "named.txt").string() + ":2:1: 警告[Q201]", 0),
              0u);
    const ToolResult json = RunTool("--check --format json -", &script);
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_NE(json.out.find("\"code\": \"Q304\""), std::string::npos);
    EXPECT_NE(json.out.find("\"taken_as\": \"unit\""), std::string::npos);
    EXPECT_NE(json.out.find("\"column\": 11,\n      \"end_column\": 12"), std::string::npos);
}

TEST(Cli, JsonResultsOfTheLastReport) {
    const ToolResult json = RunTool("--format json --sample 4");
    EXPECT_EQ(json.exitCode, 0);
    for (const char* field : {"\"level\": 4", "\"name\": \"物理和环境\"", "\"rounded_total\": 69.68",
                              "\"total\": 69.6798", "\"weighted_sum\": 42.771", "\"compliant\": 21",
                              "\"non_compliant\": 1", "\"partly_compliant\": 16", "\"not_entered\": 0",
                              "\"marker\": \"not_applicable\"", "\"group\": \"management\"",
                              "\"title\": \"应用与数据安全_2.访问控制信息完整性\""}) {
        EXPECT_NE(json.out.find(field), std::string::npos) << field;
    }
    const std::string cleared = "mpinit=1 2\r\n@@1 - -\r\nmpout\r\n@@2 1";
    const ToolResult markers = RunTool("--format json -", &cleared);
    for (const char* field : {"\"marker\": \"not_entered\"", "\"marker\": \"not_assessed\"",
                              "\"marker\": \"no_unit_counted\"", "\"not_entered\": 22"}) {
        EXPECT_NE(markers.out.find(field), std::string::npos) << field;
    }
    // A score above the no-object threshold keeps its number, as the report prints it, and takes
    // its layer out of the total.
    const std::string noObject = "@@7 1307117.3166\r\n@@8 1e308 0.5\r\nmpout\r\n";
    const nlohmann::json layers = nlohmann::json::parse(RunTool("--format json -", &noObject).out)["layers"];
    for (const auto& [layer, score] : {std::pair{6, 1307117.3166}, std::pair{7, 1e308}}) {
        EXPECT_EQ(layers[layer]["marker"], "no_object") << layer;
        EXPECT_EQ(layers[layer]["units"][0]["marker"], "no_object") << layer;
        EXPECT_EQ(layers[layer]["units"][0]["score"], score) << layer;
    }
}

// JSON numbers are the figures the text prints, at its decimals, without binary noise
// (3333 x 0.0001 is 0.33330000000000004), in the shortest form that reads back as the same double.
TEST(Cli, JsonNumbersAreTheFiguresTheTextPrints) {
    const std::string fine = "mpout 0\r\n";  // unrounded: layer 5 scores 4.6 / 6
    std::map<std::string, ToolResult> runs;
    for (const char* arguments : {"--format json --sample 2", "--format json --sample 3", "--format json --sample 4",
                                  "--explain --format json --sample 2", "--explain --format json --sample 4",
                                  "--explain --assume 4.4,7.4 --format json --sample 4", "--format json -"}) {
        const ToolResult& run = runs[arguments] = RunTool(arguments, &fine);
        ASSERT_EQ(run.exitCode, 0) << arguments << "\n" << Shown(run);
        for (std::size_t at = run.out.find('.'); at != std::string::npos; at = run.out.find('.', at + 1)) {
            if (at == 0 || run.out[at - 1] < '0' || run.out[at - 1] > '9') continue;  // in a text
            std::size_t decimals = 0;
            while (at + 1 + decimals < run.out.size() && std::isdigit(static_cast<unsigned char>(run.out[at + 1 + decimals]))) ++decimals;
            EXPECT_LE(decimals, 6u) << arguments << ": " << run.out.substr(at - 8, 30);
        }
    }
    for (const char* field : {"\"score\": 0.3333,", "\"gain\": 3.357,", "\"weight\": 1.0,", "\"rounded_total\": 69.68,"}) {
        EXPECT_NE(runs["--explain --format json --sample 4"].out.find(field), std::string::npos) << field;
    }
    EXPECT_NE(runs["--format json -"].out.find("\"score\": 0.766667,"), std::string::npos);
}

// --explain's figures are totals of the same script with units made compliant, checked here by
// writing those scores into the script and scoring it.
TEST(Cli, ExplainGivesTheTotalsOfTheScriptWithUnitsMadeCompliant) {
    using nlohmann::json;
    const ToolResult explained = RunTool("--explain --format json --sample 4");
    ASSERT_EQ(explained.exitCode, 0) << explained.err;
    const json e = json::parse(explained.out);
    const std::string sample(BuiltInSamples[3].text);
    const auto totalOf = [&](const std::string& extra) {
        const std::string script = sample + extra;
        return json::parse(RunTool("--format json -", &script).out)["total"].get<double>();
    };
    EXPECT_EQ(e["total"].get<double>(), totalOf(""));
    const json& first = e["units"][0];
    EXPECT_EQ(first["layer"], 4);
    EXPECT_EQ(first["unit"], 4);
    EXPECT_EQ(first["title"], "应用与数据安全_4.重要数据传输机密性");
    EXPECT_EQ(first["total"].get<double>(), totalOf("@@4 * * * 1\r\n"));
    EXPECT_NEAR(first["gain"].get<double>(), first["total"].get<double>() - e["total"].get<double>(), 1e-9);
    double previous = first["gain"].get<double>();
    double lost = 0;
    for (const json& u : e["units"]) {
        EXPECT_LE(u["gain"].get<double>(), previous);
        EXPECT_LT(u["score"].get<double>(), 1.0);
        previous = u["gain"].get<double>();
    }
    for (const json& layer : e["layers"]) lost += layer["lost"].get<double>();
    EXPECT_NEAR(lost, 100 - e["total"].get<double>(), 1e-9);

    const json assumed = json::parse(RunTool("--explain --assume 4.4,7.4,4.4 --format json --sample 4").out)["assumed"];
    EXPECT_EQ(assumed["units"].size(), 2u);
    EXPECT_EQ(assumed["total"].get<double>(), totalOf("@@4 * * * 1\r\n@@7 * * * 1\r\n"));
    EXPECT_NE(RunTool("--explain --assume 4.4,7.4 --sample 4").out.find("假设 4.4、7.4 符合"), std::string::npos);

    for (const char* bad : {"--explain --assume 9.1 --sample 4", "--explain --assume 4.9 --sample 4", "--explain --assume 4 --sample 4",
                            "--explain --assume , --sample 4", "--explain --assume '' --sample 4"}) {
        EXPECT_EQ(RunTool(bad).exitCode, 2) << bad;
    }
    // A unit without a counted score has no gain to assume: refused, nothing printed.
    struct Refused { const char* script; const char* assume; const char* message; };
    for (const Refused& r : {Refused{"mpinit=1\r\n", "1.3", "level 1 does not assess unit 1.3"},
                             Refused{"@@4 1 1 -\r\n", "4.1,4.3", "did not count unit 4.3 (not applicable)"},
                             Refused{"mpinit=3 2\r\n", "7.4", "did not count unit 7.4 (not entered)"}}) {
        const std::string script = r.script;
        const ToolResult refused = RunTool(std::string("--explain --assume ") + r.assume + " -", &script);
        EXPECT_EQ(refused.exitCode, 2) << r.assume;
        EXPECT_EQ(refused.out, "") << r.assume;
        EXPECT_NE(refused.err.find(r.message), std::string::npos) << Shown(refused);
    }
    // A whole group not applicable gives no points: the total is out of 70 and the losses say so.
    const std::string noManagement = "@@5 - - - - - -\r\n@@6 - - - - -\r\n@@7 - - - - -\r\n@@8 - - -\r\n";
    const json partial = json::parse(RunTool("--explain --format json -", &noManagement).out);
    EXPECT_EQ(partial["out_of"], 70.0);
    EXPECT_EQ(partial["unscored_groups"], json::array({"management"}));
    double partialLost = 0;
    for (const json& layer : partial["layers"]) partialLost += layer["lost"].get<double>();
    EXPECT_NEAR(partialLost, 70 - partial["total"].get<double>(), 1e-9);
}

// The tables for the assessment report, as the report prints their figures.
TEST(Cli, TablesAsCsvAndHtml) {
    const ToolResult csv = RunTool("--format csv --sample 4");
    EXPECT_EQ(csv.exitCode, 0) << Shown(csv);
    EXPECT_EQ(csv.out.rfind("\xEF\xBB\xBF", 0), 0u);  // spreadsheets take it as UTF-8
    for (const char* line : {"1,物理和环境,1,物理和环境安全_1.身份鉴别,0.50000,0.64580\r\n",
                             "4,应用和数据,3,应用与数据安全_3.重要信息资源安全标记完整性,\\,\r\n",
                             "7,建设运行,管理,8,0.613600,4.9088\r\n", "1,16,21,0\r\n", "4,42.7710,26.9088,69.6798,69.680\r\n"}) {
        EXPECT_NE(csv.out.find(line), std::string::npos) << line << "\n" << Shown(csv);
    }
    const ToolResult gbk = RunTool("--format csv --output-encoding gbk --sample 4");
    EXPECT_EQ(gbk.out, codec::Utf8ToGbk(csv.out.substr(3)));
    const ToolResult page = RunTool("--format html --sample 4");
    EXPECT_EQ(page.exitCode, 0) << Shown(page);
    for (const char* part : {"<meta charset=\"utf-8\">", "<svg", "<td class=\"n\">0.66670</td>", "69.680"}) {
        EXPECT_NE(page.out.find(part), std::string::npos) << part << "\n" << Shown(page);
    }
    EXPECT_EQ(page.out.find("<script"), std::string::npos);
    for (const char* bad : {"--format csv --check --sample 4", "--format html --explain --sample 4", "--format pdf --sample 4"}) {
        EXPECT_EQ(RunTool(bad).exitCode, 2) << bad;
    }
}

// JSON stays valid JSON when GBK is asked for: the bytes are ASCII, every other character escaped.
TEST(Cli, JsonInGbkIsAscii) {
    std::string levelFour;  // the first run's
    for (const char* arguments : {"--format json --sample 4", "--check --format json --sample 2", "--explain --format json --sample 4"}) {
        const ToolResult utf8 = RunTool(arguments);
        const ToolResult gbk = RunTool(std::string(arguments) + " --output-encoding gbk");
        EXPECT_EQ(gbk.exitCode, utf8.exitCode) << arguments;
        ASSERT_FALSE(gbk.out.empty()) << arguments;
        EXPECT_TRUE(std::all_of(gbk.out.begin(), gbk.out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            << arguments;
        EXPECT_EQ(nlohmann::json::parse(gbk.out, nullptr, false), nlohmann::json::parse(utf8.out)) << arguments;
        EXPECT_EQ(gbk.out.back(), '\n') << arguments;
        if (levelFour.empty()) levelFour = gbk.out;
    }
    EXPECT_NE(levelFour.find("\"name\": \"\\u7269\\u7406\\u548c\\u73af\\u5883\""),
              std::string::npos);  // 物理和环境
}

// A workbook that its temporary folder could not hold whole is trouble: nothing on standard
// output, the tool's own words on standard error, no file left behind.
void ExpectRefusedWorkbook(const ToolResult& result, const fs::path& folder, const std::string& why) {
    EXPECT_EQ(result.exitCode, 2) << why << ": " << Shown(result);
    EXPECT_EQ(result.out, "") << why;
    EXPECT_NE(result.err.find("quillon-score: the workbook"), std::string::npos) << why << ": " << result.err;
    ExpectOwnLines(result, why);
    EXPECT_TRUE(fs::is_empty(folder)) << why;
}

// Files capped at 4 KiB (RLIMIT_FSIZE, with SIGXFSZ ignored) make short writes without root.
TEST(Cli, AWorkbookLargerThanTheFilesAllowedIsTrouble) {
    if (!ToolIsNative()) GTEST_SKIP() << "the file size limit is a Linux process's";
    const fs::path folder = WorkDir() / "tmp";
    fs::create_directories(folder);
    const std::string command = "trap '' XFSZ; ulimit -f 4; TMPDIR='" + folder.string() + "' exec " + Tool() + "--format xlsx --sample 4";
    ExpectRefusedWorkbook(RunTool("-c \"" + command + "\"", nullptr, "sh "), folder, "4 KiB files");
}

// A temporary folder of 12 KiB: libxlsxwriter's scratch files are cut at a page while the zip of
// them is written whole, with checksums of what was cut. The folder is mounted in a mount
// namespace of the run's own, which needs root or user namespaces.
TEST(Cli, AWorkbookInAFullTemporaryFolderIsTrouble) {
    if (!ToolIsNative()) GTEST_SKIP() << "the folder is a Linux mount";
    const fs::path folder = WorkDir() / "tiny";
    fs::create_directories(folder);
    const std::string unshare = ::getuid() == 0 ? "unshare --mount " : "unshare --user --map-root-user --mount ";
    const std::string mount = "mount -t tmpfs -o size=12k tmpfs '" + folder.string() + "'";
    if (std::system((unshare + "sh -c \"" + mount + "\" 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "cannot mount a 12 KiB tmpfs: this needs root or unprivileged user namespaces";
    }
    // What the tool leaves in the folder is listed before the mount goes with its namespace.
    const fs::path left = WorkDir() / "left";
    const std::string command = mount + " && TMPDIR='" + folder.string() + "' " + Tool() +
                                "--format xlsx --sample 4; status=\\$?; ls -A '" + folder.string() + "' > '" + left.string() +
                                "'; exit \\$status";
    const ToolResult result = RunTool("sh -c \"" + command + "\"", nullptr, unshare);
    ExpectRefusedWorkbook(result, folder, "12 KiB tmpfs");
    EXPECT_NE(result.err.find("is cut short"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(left), "");
}

// SIGTERM, SIGINT or SIGHUP while the workbook is made: the tool still ends by the signal, and no
// temporary file stays. The signal is sent as soon as the first file appears in the folder.
TEST(Cli, ASignalDuringTheWorkbookLeavesNoTemporaryFile) {
    if (!ToolIsNative()) GTEST_SKIP() << "signals and inotify are Linux's";
    for (const int sent : {SIGTERM, SIGINT, SIGHUP}) {
        const fs::path folder = WorkDir() / ("tmp" + std::to_string(sent));
        fs::create_directories(folder);
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_CREATE), 0);
        const pid_t child = fork();
        if (child == 0) {
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            for (const int s : {SIGTERM, SIGINT, SIGHUP}) ::signal(s, SIG_DFL);  // a test runner may ignore SIGINT
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            setenv("TMPDIR", folder.c_str(), 1);
            execl(QUILLON_SCORE_PATH, "quillon-score", "--format", "xlsx", "--sample", "4", static_cast<char*>(nullptr));
            _exit(127);
        }
        pollfd created{watch, POLLIN, 0};
        const bool seen = poll(&created, 1, 20000) == 1;
        kill(child, sent);
        int status = 0;
        waitpid(child, &status, 0);
        close(watch);
        EXPECT_TRUE(seen) << "no temporary file appeared";
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sent) << "signal " << sent << ", status " << status;
        std::string left;
        for (const auto& entry : fs::directory_iterator(folder)) left += entry.path().filename().string() + " ";
        EXPECT_EQ(left, "") << "signal " << sent;
    }
}

// The report's bytes are fixed and end without a line end: a file or a pipe gets exactly them, a
// console one line end more, so that the prompt starts on a line of its own.
TEST(Cli, AConsoleGetsALineEndAfterTheReport) {
    if (!ToolIsNative()) GTEST_SKIP() << "the console is a Linux pseudo-terminal here";
    const auto onConsole = [](const char* sample) {
        int terminal = -1;
        const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child == 0) {
            termios raw{};
            tcgetattr(STDOUT_FILENO, &raw);
            cfmakeraw(&raw);  // the bytes as written, no CR added
            tcsetattr(STDOUT_FILENO, TCSANOW, &raw);
            execl(QUILLON_SCORE_PATH, "quillon-score", "--sample", sample, static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string shown;
        char buffer[4096];
        for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, static_cast<std::size_t>(got));
        close(terminal);
        waitpid(child, nullptr, 0);
        return shown;
    };
    const std::string report = ScoreScript(BuiltInSamples[3].text);
    ASSERT_NE(report.back(), '\n');
    EXPECT_EQ(onConsole("4"), report + "\r\n");  // a pipe gets the report alone: SamplesPrintTheirReports
}

// The built-in samples as files, named sample-N.qs in the test's folder.
std::string SampleFile(int n) {
    const fs::path path = WorkDir() / ("sample-" + std::to_string(n) + ".qs");
    WriteFile(path, std::string(BuiltInSamples[static_cast<unsigned>(n - 1)].text));
    return path.string();
}

// Sample 3 (level 3; its last report follows "$$4.2 VVX VVX*1.2 XXX VVX*0.5") against sample 4
// (level 4), every figure worked out by hand from the two scripts.
TEST(Cli, CompareSampleThreeWithSampleFour) {
    const std::string before = SampleFile(3);
    const std::string after = SampleFile(4);
    const ToolResult text = RunTool("--compare '" + before + "' '" + after + "'");
    ASSERT_EQ(text.exitCode, 0) << Shown(text);
    EXPECT_EQ(text.err, "");
    const auto has = [&](const std::string& out, const std::string& line) {
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    };
    has(text.out, "整改前：" + before + "  3级 密评总分 60.910（60.9130）\n");
    has(text.out, "整改后：" + after + "  4级 密评总分 69.680（69.6798）\n");
    has(text.out, "整改前为 3 级，整改后为 4 级");
    // 69.6798 - 60.9130 = 8.7668; technical 42.7710 - 36.2780 = 6.4930.
    has(text.out, "\n密评总分             60.9130     69.6798     +8.7668\n");
    has(text.out, "\n技术（满分 70）      36.2780     42.7710     +6.4930\n");
    // Counts: 0, 19, 17 before; 1 (7.4), 16, 21 after.
    has(text.out, "\n不符合                     0           1          +1\n");
    has(text.out, "\n符合                      17          21          +4\n");
    // Layer 4 before, level-3 weights 1 .4 .4 1 1 .7 .7 1, unit 3 not applicable:
    // (0.3333 + 0.4 × 0.3375 + 0.125 + 1 + 0.7 × 0.125 + 0.7 × 0.75 + 0.25) / 5.8 = 2.4558 / 5.8 = 0.4234;
    // after, level-4 weights 1 .7 .7 1 1 1 1 1: (0.6667 + 0.7 + 0.25 + 1 + 0.25 + 1 + 1) / 6.7 = 0.7264.
    // Its points, 30 of the technical 70 at full weight: 12.7020 and 21.7920.
    has(text.out, "\n@@4应用和数据      0.423400    0.726400   +0.303000     12.7020     21.7920     +9.0900\n");
    // 4.2: (0.5 + 0.6 + 0 + 0.25) / 4 = 0.3375 before, 1 after; 3.6 is not applicable before.
    has(text.out, "\n4.2     0.337500    1.000000   +0.662500  应用与数据安全_2.访问控制信息完整性\n");
    has(text.out, "\n3.6       不适用    0.400000              设备与计算安全_6.");
    has(text.out, "\n在不符合、部分符合和符合之间变化的单元（14 个）：\n");
    has(text.out, "\n4.2   部分符合 → 符合    应用与数据安全_2.访问控制信息完整性\n");
    has(text.out, "\n7.4   符合 → 不符合      建设运行_4、投入运行前的密码应用安全性评估\n");

    const ToolResult json = RunTool("--compare '" + before + "' '" + after + "' --format json");
    ASSERT_EQ(json.exitCode, 0) << Shown(json);
    const nlohmann::json c = nlohmann::json::parse(json.out);
    EXPECT_EQ(c["level_differs"], true);
    EXPECT_EQ(c["changes"]["total"], 8.7668);
    EXPECT_EQ(c["before"]["counts"]["partly_compliant"], 19);
    EXPECT_EQ(c["layers"][3]["after"]["points"], 21.792);
    EXPECT_EQ(c["moved"].size(), 14u);
    const nlohmann::json& unit36 = c["units"][13];
    EXPECT_EQ(unit36["unit"], 6);
    EXPECT_EQ(unit36["before"]["marker"], "not_applicable");
    EXPECT_TRUE(unit36["change"].is_null());

    const ToolResult csv = RunTool("--compare '" + before + "' '" + after + "' --format csv");
    EXPECT_EQ(csv.exitCode, 0) << Shown(csv);
    has(csv.out, "\r\n密评总分,60.9130,69.6798,+8.7668\r\n");
    has(csv.out, "\r\n4,2,应用与数据安全_2.访问控制信息完整性,0.337500,1.000000,+0.662500,部分符合,符合\r\n");
    const ToolResult page = RunTool("--compare '" + before + "' '" + after + "' --format html");
    has(page.out, "<td class=\"n\">+8.7668</td>");
    const ToolResult book = RunTool("--compare '" + before + "' '" + after + "' --format xlsx");
    EXPECT_EQ(book.exitCode, 0) << Shown(book);
    EXPECT_EQ(book.out.rfind("PK", 0), 0u);
}

// The views' 与脚本文件比较…: the model's text and tables are the tool's for the same two files.
// The box is named by its file while it holds that file unedited.
TEST(Cli, ComparisonInTheViewsIsTheTools) {
    const std::string before = SampleFile(3);
    const std::string after = SampleFile(4);
    app::FrontEnd model;
    model.start();
    EXPECT_NE(model.exportComparison(*app::FindExportFormat("csv")).problem, "");
    const std::string afterText = ReadFile(after);
    const std::string script = model.fileRead(after, {app::FileRead::Status::Read, afterText}).script.value_or("");
    const app::ComparisonShown shown = model.compareWithFile(before, {app::FileRead::Status::Read, ReadFile(before)}, script);
    EXPECT_EQ(shown.message, "");
    EXPECT_EQ(shown.text, RunTool("--compare '" + before + "' '" + after + "'").out);
    for (const char* format : {"csv", "html"}) {
        const app::ExportedFile file = model.exportComparison(*app::FindExportFormat(format));
        EXPECT_EQ(file.problem, "");
        EXPECT_EQ(file.bytes, RunTool("--compare '" + before + "' '" + after + "' --format " + format).out) << format;
    }
    EXPECT_EQ(model.exportComparison(*app::FindExportFormat("xlsx")).bytes.rfind("PK", 0), 0u);

    // Edited, the box is no file's text; a file the load refuses is refused here with its words.
    model.edited(script + "mpecho\n");
    EXPECT_NE(model.compareWithFile(before, {app::FileRead::Status::Read, ReadFile(before)}, script + "mpecho\n")
                  .text.find("整改后：脚本框中的脚本  4级 密评总分 69.680（69.6798）\n"),
              std::string::npos);
    const app::ComparisonShown binary = model.compareWithFile("a.bin", {app::FileRead::Status::Read, std::string("MZ\0\0", 4)}, script);
    EXPECT_EQ(binary.text, "");
    EXPECT_EQ(binary.message, model.fileRead("a.bin", {app::FileRead::Status::Read, std::string("MZ\0\0", 4)}).message.value_or(""));
    EXPECT_EQ(model.compareWithFile("folder", {app::FileRead::Status::Unreadable, {}}, script).message, "");
}

// Several files: each report as one file's run prints it, under a line naming the file; the
// summary rows and each script's results are those of the file's own run.
TEST(Cli, SeveralFilesAsEachAlone) {
    std::vector<std::string> files;
    std::string arguments;
    for (int n = 2; n <= 5; ++n) {
        files.push_back(SampleFile(n));
        arguments += " '" + files.back() + "'";
    }
    const ToolResult text = RunTool(arguments);
    ASSERT_EQ(text.exitCode, 0) << Shown(text);
    std::string expected;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // A blank line before each header after the first; a report whose last line has no line
        // end (the closing notice) gets one first.
        if (i > 0) expected += expected.back() == '\n' ? "\r\n" : "\r\n\r\n";
        expected += "==> " + files[i] + " <==\r\n" + RunTool("'" + files[i] + "'").out;
    }
    EXPECT_TRUE(text.out == expected) << Shown(text);

    const ToolResult json = RunTool("--format json" + arguments);
    ASSERT_EQ(json.exitCode, 0) << Shown(json);
    const nlohmann::json all = nlohmann::json::parse(json.out);
    ASSERT_EQ(all["summary"].size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        nlohmann::json alone = nlohmann::json::parse(RunTool("--format json '" + files[i] + "'").out);
        const nlohmann::json& row = all["summary"][i];
        EXPECT_EQ(row["file"], files[i]);
        for (const char* field : {"level", "total", "rounded_total"}) EXPECT_EQ(row[field], alone[field]) << files[i] << " " << field;
        for (const char* count : {"non_compliant", "partly_compliant", "compliant"}) {
            EXPECT_EQ(row["counts"][count], alone["counts"][count]) << files[i] << " " << count;
        }
        // The groups' points as the file's own tables give them: its CSV's last line.
        const std::string csv = RunTool("--format csv '" + files[i] + "'").out;
        const std::string last = csv.substr(csv.rfind("\r\n", csv.size() - 3) + 2);
        const std::string points = std::to_string(row["level"].get<int>()) + "," + Fixed(row["technical_points"].get<double>(), 0, 4) +
                                   "," + Fixed(row["management_points"].get<double>(), 0, 4) + ",";
        EXPECT_EQ(last.rfind(points, 0), 0u) << last;
        nlohmann::json script = all["scripts"][i];
        EXPECT_EQ(script["file"], files[i]);
        script.erase("file");
        EXPECT_EQ(script, alone) << files[i];
    }
    const ToolResult csv = RunTool("--format csv" + arguments);
    EXPECT_EQ(csv.exitCode, 0) << Shown(csv);
    EXPECT_NE(csv.out.find("\r\n" + files[2] + ",4,69.6798,69.680,42.7710,26.9088,1,16,21\r\n"), std::string::npos) << csv.out;
    const ToolResult book = RunTool("--format xlsx" + arguments);
    EXPECT_EQ(book.exitCode, 0) << Shown(book);
}

// A file that cannot be read is told as a run of one tells it; the others are still scored, and
// the exit code is the worst of the files'.
TEST(Cli, SeveralFilesExitWithTheWorst) {
    const std::string good = SampleFile(4);
    const fs::path problem = WorkDir() / "problem.qs";
    WriteFile(problem, "@@9 1\r\n");
    std::string cut;
    for (int i = 0; i < 1500; ++i) cut += "mpout\r\n";
    WriteFile(WorkDir() / "cut.qs", cut);
    const std::string missing = "/nonexistent/script.txt";
    const std::string missingSaid = "quillon-score: /nonexistent/script.txt: No such file or directory\n";
    const std::string cutSaid =
        "quillon-score: " + (WorkDir() / "cut.qs").string() + ": the report reached its limit of 1048575 bytes and was cut there\n";
    const struct {
        std::string arguments;
        int exitCode;
        std::string err;
    } cases[] = {
        {"'" + good + "' " + missing + " '" + problem.string() + "'", 2, missingSaid},
        {"--format json '" + good + "' " + missing, 2, missingSaid},
        {"--check '" + good + "' '" + problem.string() + "'", 1, ""},
        {"--check " + missing + " '" + problem.string() + "'", 2, missingSaid},
        {"'" + good + "' '" + (WorkDir() / "cut.qs").string() + "'", 1, cutSaid},
        {"'" + good + "' '" + problem.string() + "'", 0, ""},
    };
    for (const auto& c : cases) {
        const ToolResult result = RunTool(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << ": " << Shown(result);
        EXPECT_EQ(result.err, c.err) << c.arguments;
    }
    const ToolResult scored = RunTool("'" + good + "' " + missing + " '" + problem.string() + "'");
    EXPECT_NE(scored.out.find("==> " + good + " <==\r\n"), std::string::npos);
    EXPECT_NE(scored.out.find("==> " + problem.string() + " <==\r\n"), std::string::npos);
    EXPECT_EQ(scored.out.find(missing), std::string::npos);
    EXPECT_EQ(RunTool("--check " + missing + " '" + problem.string() + "'").out,
              problem.string() + ":1:1: 警告[Q201]: 层面指令应写成 @@1～@@8，本行未改变任何得分\n");
    // --compare reads each script as a run of one does: both are told, nothing is compared.
    const ToolResult compared = RunTool("--compare " + missing + " /nonexistent/other.txt");
    EXPECT_EQ(compared.exitCode, 2);
    EXPECT_EQ(compared.out, "");
    EXPECT_EQ(compared.err, missingSaid + "quillon-score: /nonexistent/other.txt: No such file or directory\n");
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
