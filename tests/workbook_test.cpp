// The workbook and the Word document read back with minizip: numbers are written with a decimal
// point even when the thread runs in a locale with a decimal comma (a window takes the user's
// locale), a package with a cut, damaged or missing part is never taken for a whole one, and a
// document's tables fit the page whatever their texts.
#include <gtest/gtest.h>
#include <locale.h>
#include <unzip.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/docx_export.hpp"
#include "app/package_proof.hpp"
#include "app/xlsx_export.hpp"
#include "scoring/report_tables.hpp"
#include "app/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::pair<std::string, std::string>>;  // name, inflated text

fs::path Scratch(const std::string& name) { return fs::path(::testing::TempDir()) / ("quillon_workbook_" + name); }

// The zip's entries in order, read with minizip (which checks each one's size and CRC).
Entries Unzipped(const std::string& zip) {
    const fs::path path = Scratch("read.zip");
    std::ofstream(path, std::ios::binary) << zip;
    Entries entries;
    const unzFile file = unzOpen64(path.c_str());
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return entries;
    for (int status = unzGoToFirstFile(file); status == UNZ_OK; status = unzGoToNextFile(file)) {
        char name[512];
        unzGetCurrentFileInfo64(file, nullptr, name, sizeof name, nullptr, 0, nullptr, 0);
        unzOpenCurrentFile(file);
        std::string text;
        char buffer[4096];
        int got;
        while ((got = unzReadCurrentFile(file, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
        EXPECT_EQ(unzCloseCurrentFile(file), UNZ_OK) << name;
        entries.emplace_back(name, std::move(text));
    }
    unzClose(file);
    return entries;
}

std::string Entry(const std::string& zip, const std::string& name) {
    for (const auto& [n, text] : Unzipped(zip)) {
        if (n == name) return text;
    }
    return {};
}

// A zip of the entries as a writer that checks nothing would make it: sizes and CRCs of what it got.
std::string Zipped(const Entries& entries) {
    const fs::path path = Scratch("write.zip");
    const zipFile file = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    for (const auto& [name, text] : entries) {
        zipOpenNewFileInZip64(file, name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0);
        zipWriteInFileInZip(file, text.data(), static_cast<unsigned>(text.size()));
        zipCloseFileInZip(file);
    }
    zipClose(file, nullptr);
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Level4Workbook() {
    const ScriptRun run = InterpretScript(BuiltInSamples[3].text, {}, true);
    std::string error;
    const std::string book = TablesXlsx(TablesOf(*run.lastReport), error);
    EXPECT_EQ(error, "");
    return book;
}

TEST(Workbook, NumbersKeepTheirDecimalPointInACommaLocale) {
    const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
    if (german == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale (the test's fixture makes one with localedef)";
    const locale_t before = uselocale(german);
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    const std::string book = Level4Workbook();
    EXPECT_EQ(uselocale(before), german);  // the thread's locale was given back
    freelocale(german);
    ASSERT_STREQ(probe, "0,5");
    const std::string totals = Entry(book, "xl/worksheets/sheet3.xml");
    EXPECT_NE(totals.find("<v>69.6798</v>"), std::string::npos) << totals;
    EXPECT_NE(Entry(book, "xl/worksheets/sheet1.xml").find("<v>0.25</v>"), std::string::npos);
}

// What a full temporary folder or a damaged file does to a workbook, each found by the proof.
TEST(Workbook, OnlyAWholeWorkbookPassesTheProof) {
    const std::string book = Level4Workbook();
    ASSERT_EQ(PackageFault(book), "");
    const Entries whole = Unzipped(book);
    ASSERT_GT(whole.size(), 8u);
    const auto edited = [&](const std::function<std::optional<std::string>(const std::string&, const std::string&)>& edit) {
        Entries entries;
        for (const auto& [name, text] : whole) {
            if (std::optional<std::string> kept = edit(name, text)) entries.emplace_back(name, std::move(*kept));
        }
        return Zipped(entries);
    };
    const auto cutAt = [&](const std::string& part, std::size_t size) {
        return edited([=](const std::string& name, const std::string& text) -> std::optional<std::string> {
            return name == part ? text.substr(0, size) : text;
        });
    };
    std::string flipped = book;
    flipped[flipped.find("xl/worksheets/sheet1.xml") + 40] ^= 0x55;  // inside the deflated sheet
    const struct {
        const char* what;
        std::string zip;
        const char* fault;
    } cases[] = {
        {"rewritten whole", edited([](const std::string&, const std::string& text) { return text; }), ""},
        {"the theme cut at a scratch file's 4 KiB", cutAt("xl/theme/theme1.xml", 4096), "xl/theme/theme1.xml is cut short"},
        {"the types cut within the closing tag", cutAt("[Content_Types].xml", whole[0].second.size() - 3), "[Content_Types].xml is cut short"},
        {"a sheet cut to nothing", cutAt("xl/worksheets/sheet2.xml", 0), "xl/worksheets/sheet2.xml is cut short"},
        {"the styles left out",
         edited([](const std::string& name, const std::string& text) -> std::optional<std::string> {
             if (name == "xl/styles.xml") return std::nullopt;
             return text;
         }),
         "xl/styles.xml is missing"},
        {"a byte changed in a deflated sheet", flipped, "xl/worksheets/sheet1.xml does not inflate to its stored size and checksum"},
        {"the zip's end cut off", book.substr(0, book.size() - 30), "it is not a readable zip archive"},
        {"no zip at all", "<?xml version=\"1.0\"?><a></a>", "it is not a readable zip archive"},
    };
    ASSERT_EQ(whole[0].first, "[Content_Types].xml");
    for (const auto& c : cases) EXPECT_EQ(PackageFault(c.zip), c.fault) << c.what;
}

// The same tables give the same bytes; any text a name brings is written as XML can hold it.
TEST(Document, IsWholeReproducibleAndEscapesWhatANameBrings) {
    const ScriptRun run = InterpretScript(BuiltInSamples[3].text, {}, true);
    std::string error;
    const std::string once = TablesDocx(TablesOf(*run.lastReport), error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(PackageFault(once), "");
    EXPECT_EQ(TablesDocx(TablesOf(*run.lastReport), error), once);
    const std::string named = ScriptsDocx({{"a<&>\x01\xFF\xE4\xB8.qs", TablesOf(*run.lastReport)}}, error);
    ASSERT_EQ(error, "");
    const std::string document = Entry(named, "word/document.xml");
    EXPECT_NE(document.find("a&lt;&amp;&gt;\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.qs"), std::string::npos);
    EXPECT_EQ(document.find('\x01'), std::string::npos);
}

TEST(Document, ColumnsFitThePageAndNeverWrapAFigure) {
    const auto grid = [](std::vector<std::string> texts, std::size_t figures) {
        Grid g{"t", "t", {}, {{}}};
        for (std::size_t c = 0; c < texts.size() + figures; ++c) {
            g.header.push_back("列");
            g.rows[0].push_back(c < texts.size() ? TextCell(texts[c]) : FigureCell(-123.456789, 6));
        }
        return g;
    };
    const std::vector<int> narrow = DocxColumnWidths(grid({"短"}, 1));
    const std::vector<int> wide = DocxColumnWidths(grid({std::string(300, 'x'), "部分符合"}, 3));
    const std::vector<int> overfull = DocxColumnWidths(grid({}, 12));
    for (const auto& widths : {narrow, wide}) EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), kDocxTextWidth);
    EXPECT_LT(narrow[0], narrow[1]);                     // the room shared by what each holds
    EXPECT_GT(wide[0], wide[1]);                         // the long text wraps, and takes the most
    EXPECT_EQ(wide[2], overfull[0]);                     // each figure keeps its whole width
    EXPECT_GT(std::accumulate(overfull.begin(), overfull.end(), 0), kDocxTextWidth);  // runs into the margin, figures whole
}

}  // namespace
}  // namespace quillon::app
