// The proof that a package is whole. libxlsxwriter does not check its writes to the scratch file
// of each part, so a full temporary folder gives a zip of cut parts with valid checksums; every
// workbook and document is read back here through minizip before anyone gets it. Apart from the
// exports, so that minizip's reading headers do not meet the copy libxlsxwriter bundles.
#include <unzip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>

#include "app/package_proof.hpp"

namespace quillon::app {
namespace {

// The zip's bytes as minizip's file, from memory.
struct Reading {
    std::string_view bytes;
    ZPOS64_T at = 0;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) { return opaque; }
uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong size) {
    Reading& r = *static_cast<Reading*>(stream);
    const uLong got = static_cast<uLong>(std::min<ZPOS64_T>(size, r.bytes.size() - r.at));
    std::memcpy(buffer, r.bytes.data() + r.at, got);
    r.at += got;
    return got;
}
uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<Reading*>(stream)->at; }
long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    Reading& r = *static_cast<Reading*>(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? r.at : r.bytes.size();
    if (base + offset > r.bytes.size()) return -1;
    r.at = base + offset;
    return 0;
}
int ZCALLBACK Close(voidpf, voidpf) { return 0; }
int ZCALLBACK Error(voidpf, voidpf) { return 0; }

// An XML part ends with its root's closing tag (or is its root's empty tag): a cut part does not.
bool WholeXml(std::string_view xml) {
    std::size_t at = 0;
    for (;;) {  // past the declaration and any comment
        at = xml.find('<', at);
        if (at == std::string_view::npos) return false;
        if (xml.substr(at, 2) != "<?" && xml.substr(at, 4) != "<!--") break;
        at = xml.find('>', at);
        if (at == std::string_view::npos) return false;
    }
    const std::size_t nameEnd = xml.find_first_of(" \t\r\n/>", at + 1);
    if (nameEnd == std::string_view::npos || nameEnd == at + 1) return false;
    const std::string closing = "</" + std::string(xml.substr(at + 1, nameEnd - at - 1)) + ">";
    const std::size_t last = xml.find_last_not_of(" \t\r\n");
    const std::string_view body = xml.substr(0, last + 1);
    if (body.size() >= closing.size() && body.substr(body.size() - closing.size()) == closing) return true;
    const std::size_t tagEnd = xml.find('>', at);
    return tagEnd == last && xml[tagEnd - 1] == '/';
}

}  // namespace

std::string PackageFault(const std::string& zip) {
    Reading reading{zip};
    zlib_filefunc64_def functions{Open, Read, Write, Tell, Seek, Close, Error, &reading};
    const unzFile file = unzOpen2_64("workbook", &functions);
    if (file == nullptr) return "it is not a readable zip archive";
    std::map<std::string, std::string, std::less<>> parts;
    std::string fault;
    int status = unzGoToFirstFile(file);
    for (; status == UNZ_OK && fault.empty(); status = unzGoToNextFile(file)) {
        unz_file_info64 info{};
        char name[512];
        if (unzGetCurrentFileInfo64(file, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(file) != UNZ_OK) {
            fault = "an entry cannot be opened";
            break;
        }
        std::string text;
        char buffer[16384];
        int got;
        while ((got = unzReadCurrentFile(file, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
        const int closed = unzCloseCurrentFile(file);  // checks the CRC of an entry read to its end
        if (got < 0 || closed != UNZ_OK || text.size() != info.uncompressed_size) {
            fault = std::string(name) + " does not inflate to its stored size and checksum";
        } else if (const std::string_view n(name);
                   (n.ends_with(".xml") || n.ends_with(".rels")) && !WholeXml(text)) {
            fault = std::string(name) + " is cut short";
        }
        parts.emplace(name, std::move(text));
    }
    unzClose(file);
    if (!fault.empty()) return fault;
    if (status != UNZ_END_OF_LIST_OF_FILE) return "its list of entries cannot be read";
    const auto types = parts.find("[Content_Types].xml");
    if (types == parts.end()) return "[Content_Types].xml is missing";
    constexpr std::string_view kPart = "PartName=\"/";
    for (std::size_t at = types->second.find(kPart); at != std::string::npos; at = types->second.find(kPart, at)) {
        at += kPart.size();
        const std::string part = types->second.substr(at, types->second.find('"', at) - at);
        if (!parts.contains(part)) return part + " is missing";
    }
    return {};
}

}  // namespace quillon::app
