// The document's package: its parts zipped by minizip into memory, then read back whole. Apart
// from the body's writer, so that minizip's headers meet nothing else. The parts carry a fixed
// date, so that the same tables always give the same bytes.
#include <zip.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "app/docx_export.hpp"
#include "app/package_proof.hpp"

namespace quillon::app {
namespace {

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kOfficeRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

constexpr std::string_view kContentTypes =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
    "<Override PartName=\"/word/settings.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml\"/>"
    "<Override PartName=\"/word/fontTable.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml\"/>"
    "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
    "</Types>";

std::string PackageRelationships() {
    return "<Relationships xmlns=\"" + std::string(kRelationships) + "\">"
           "<Relationship Id=\"rId1\" Type=\"" + std::string(kOfficeRelationships) + "/officeDocument\" Target=\"word/document.xml\"/>"
           "<Relationship Id=\"rId2\" Type=\"" + std::string(kRelationships) +
           "/metadata/core-properties\" Target=\"docProps/core.xml\"/></Relationships>";
}

std::string DocumentRelationships() {
    std::string xml = "<Relationships xmlns=\"" + std::string(kRelationships) + "\">";
    int id = 0;
    for (const char* part : {"styles", "settings", "fontTable"}) {
        xml += "<Relationship Id=\"rId" + std::to_string(++id) + "\" Type=\"" + std::string(kOfficeRelationships) + "/" + part +
               "\" Target=\"" + part + ".xml\"/>";
    }
    return xml + "</Relationships>";
}

constexpr std::string_view kCore =
    "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>Quillon</dc:creator></cp:coreProperties>";

// 宋体 at 五号 (10.5 pt) throughout; 宋体 is SimSun's Chinese name, and the font table gives both.
constexpr std::string_view kFonts =
    "<w:font w:name=\"宋体\"><w:altName w:val=\"SimSun\"/><w:panose1 w:val=\"02010600030101010101\"/>"
    "<w:charset w:val=\"86\"/><w:family w:val=\"auto\"/><w:pitch w:val=\"variable\"/></w:font>";

constexpr std::string_view kStyles =
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"宋体\" w:eastAsia=\"宋体\" w:hAnsi=\"宋体\" w:cs=\"宋体\"/>"
    "<w:kern w:val=\"2\"/><w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/><w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/>"
    "</w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/></w:pPr>"
    "</w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
    "<w:next w:val=\"Normal\"/><w:qFormat/><w:pPr><w:keepNext/><w:keepLines/><w:spacing w:before=\"240\" w:after=\"120\"/>"
    "<w:outlineLvl w:val=\"0\"/></w:pPr><w:rPr><w:b/><w:bCs/><w:sz w:val=\"30\"/><w:szCs w:val=\"30\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Caption\"><w:name w:val=\"caption\"/><w:basedOn w:val=\"Normal\"/>"
    "<w:next w:val=\"Normal\"/><w:qFormat/><w:pPr><w:keepNext/><w:spacing w:before=\"240\" w:after=\"60\"/><w:jc w:val=\"center\"/>"
    "</w:pPr><w:rPr><w:b/><w:bCs/></w:rPr></w:style>"
    "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/><w:uiPriority w:val=\"99\"/>"
    "<w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
    "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/></w:tblCellMar>"
    "</w:tblPr></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"QuillonTable\"><w:name w:val=\"Table Grid\"/><w:basedOn w:val=\"TableNormal\"/>"
    "<w:tblPr><w:tblBorders><w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/><w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/><w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/></w:tblBorders></w:tblPr></w:style>";

// Word opens it in its own current mode, not as an old document.
constexpr std::string_view kSettings =
    "<w:defaultTabStop w:val=\"420\"/><w:characterSpacingControl w:val=\"compressPunctuation\"/><w:compat>"
    "<w:compatSetting w:name=\"compatibilityMode\" w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat>";

// A4 portrait with 2.54 cm margins: kDocxTextWidth between them.
constexpr std::string_view kSection =
    "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" w:bottom=\"1440\" w:left=\"1440\" "
    "w:header=\"851\" w:footer=\"992\" w:gutter=\"0\"/><w:cols w:space=\"425\"/></w:sectPr>";
static_assert(11906 - 2 * 1440 == kDocxTextWidth);

std::string WordPart(std::string_view root, std::string_view content, std::string_view more = {}) {
    return std::string(kXmlDeclaration) + "<w:" + std::string(root) + " xmlns:w=\"" + std::string(kMainNamespace) + "\"" +
           std::string(more) + ">" + std::string(content) + "</w:" + std::string(root) + ">";
}

// The zip as minizip's file, in memory: written where minizip seeks (it goes back to put each
// entry's sizes in its header).
struct Writing {
    std::string bytes;
    std::size_t at = 0;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK Read(voidpf, voidpf, void*, uLong) { return 0; }
uLong ZCALLBACK Write(voidpf, voidpf stream, const void* buffer, uLong size) {
    Writing& w = *static_cast<Writing*>(stream);
    if (w.at + size > w.bytes.size()) w.bytes.resize(w.at + size);
    std::memcpy(w.bytes.data() + w.at, buffer, size);
    w.at += size;
    return size;
}
ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<Writing*>(stream)->at; }
long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    Writing& w = *static_cast<Writing*>(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? w.at : w.bytes.size();
    if (base + offset > w.bytes.size()) return -1;
    w.at = static_cast<std::size_t>(base + offset);
    return 0;
}
int ZCALLBACK Close(voidpf, voidpf) { return 0; }
int ZCALLBACK Error(voidpf, voidpf) { return 0; }

bool AddPart(zipFile zip, const char* name, std::string_view content) {
    zip_fileinfo info{};
    info.tmz_date.tm_year = 1980;  // the zip's earliest date: 1980-01-01
    info.tmz_date.tm_mday = 1;
    if (zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_BEST_COMPRESSION, 0) != ZIP_OK) {
        return false;
    }
    const bool written = zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && written;
}

}  // namespace

std::string DocxPackage(const DocxBody& body, std::string& error) {
    const std::string document =
        WordPart("document", "<w:body>" + body.xml() + std::string(kSection) + "</w:body>",
                 " xmlns:r=\"" + std::string(kOfficeRelationships) + "\"");
    const std::pair<const char*, std::string> parts[] = {
        {"[Content_Types].xml", std::string(kXmlDeclaration) + std::string(kContentTypes)},
        {"_rels/.rels", std::string(kXmlDeclaration) + PackageRelationships()},
        {"docProps/core.xml", std::string(kXmlDeclaration) + std::string(kCore)},
        {"word/document.xml", document},
        {"word/_rels/document.xml.rels", std::string(kXmlDeclaration) + DocumentRelationships()},
        {"word/styles.xml", WordPart("styles", kStyles)},
        {"word/settings.xml", WordPart("settings", kSettings)},
        {"word/fontTable.xml", WordPart("fonts", kFonts)},
    };
    Writing writing;
    zlib_filefunc64_def functions{Open, Read, Write, Tell, Seek, Close, Error, &writing};
    const zipFile zip = zipOpen2_64("document.docx", APPEND_STATUS_CREATE, nullptr, &functions);
    bool whole = zip != nullptr;
    for (const auto& [name, content] : parts) whole = whole && AddPart(zip, name, content);
    if (zip != nullptr && zipClose(zip, nullptr) != ZIP_OK) whole = false;
    if (!whole) {
        error = "the document's zip could not be made";
        return {};
    }
    if (const std::string fault = PackageFault(writing.bytes); !fault.empty()) {
        error = "the document came out incomplete: " + fault;
        return {};
    }
    return std::move(writing.bytes);
}

}  // namespace quillon::app
