// The workbook's sheets read back from the zip: numbers are written with a decimal point even
// when the thread runs in a locale with a decimal comma (a window takes the user's locale).
#include <gtest/gtest.h>
#include <locale.h>
#include <zlib.h>

#include <cstdint>
#include <string>

#include "app/xlsx_export.hpp"
#include "scoring/report_tables.hpp"
#include "script/builtin_texts.hpp"
#include "script/interpreter.hpp"

namespace quillon::app {
namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

// One entry of the zip, found by its local header and inflated; empty when it is not there.
std::string ZipEntry(const std::string& zip, const std::string& name) {
    for (std::size_t at = zip.find("PK\x03\x04"); at != std::string::npos; at = zip.find("PK\x03\x04", at + 4)) {
        const std::uint32_t packed = Little(zip, at + 18, 4), size = Little(zip, at + 22, 4);
        const std::size_t nameLength = Little(zip, at + 26, 2), extraLength = Little(zip, at + 28, 2);
        if (zip.compare(at + 30, nameLength, name) != 0) continue;
        std::string text(size, '\0');
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);  // raw deflate, as zip stores it
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zip.data() + at + 30 + nameLength + extraLength));
        stream.avail_in = packed;
        stream.next_out = reinterpret_cast<Bytef*>(text.data());
        stream.avail_out = size;
        const int status = inflate(&stream, Z_FINISH);
        inflateEnd(&stream);
        return status == Z_STREAM_END ? text : std::string();
    }
    return {};
}

TEST(Workbook, NumbersKeepTheirDecimalPointInACommaLocale) {
    const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
    if (german == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale (the test's fixture makes one with localedef)";
    const ScriptRun run = InterpretScript(BuiltInSamples[3].text, {}, true);  // the level-4 sample
    const locale_t before = uselocale(german);
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    std::string error;
    const std::string book = TablesXlsx(TablesOf(*run.lastReport), error);
    EXPECT_EQ(uselocale(before), german);  // the thread's locale was given back
    freelocale(german);
    ASSERT_STREQ(probe, "0,5");
    ASSERT_EQ(error, "");
    const std::string totals = ZipEntry(book, "xl/worksheets/sheet3.xml");
    EXPECT_NE(totals.find("<v>69.6798</v>"), std::string::npos) << totals;
    EXPECT_NE(ZipEntry(book, "xl/worksheets/sheet1.xml").find("<v>0.25</v>"), std::string::npos);
}

}  // namespace
}  // namespace quillon::app
