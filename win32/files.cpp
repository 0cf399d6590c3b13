#include "win32/files.hpp"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "app/menus.hpp"
#include "codec/wide_text.hpp"

namespace quillon::win32 {
namespace {

constexpr DWORD kPathUnits = 32768;  // long paths too, not only MAX_PATH

std::wstring ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = text != nullptr ? text : L"";
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) words.pop_back();
    if (words.empty()) words = L"错误 " + std::to_wstring(error);
    return words;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ProgramFolder() {
    std::vector<wchar_t> path(kPathUnits);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), kPathUnits);
    std::wstring folder(path.data(), length);
    const std::size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

}  // namespace

// The working folder stays where it was (OFN_NOCHANGEDIR), so that the help page's relative
// name still finds it after a file was opened elsewhere.
std::optional<std::string> AskFileToOpen(HWND owner) {
    std::wstring filters;  // words and patterns, each ended by a NUL, the list by another
    for (const app::OpenFilter& filter : app::ScriptOpenFilters()) {
        filters += codec::Wide(app::OpenFilterText(filter, ";", "*.*")) + L'\0';
        filters += codec::Wide(app::OpenFilterPatterns(filter, ";", "*.*")) + L'\0';
    }
    std::vector<wchar_t> path(kPathUnits, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return codec::Utf8(path.data());
}

namespace {

// The save dialog, the proposed path filled in; the chosen path, and the filter in `filterIndex`.
std::optional<std::string> AskSavePath(HWND owner, const std::string& proposedPath, const wchar_t* filter,
                                       DWORD& filterIndex, const wchar_t* title, const wchar_t* extension) {
    std::vector<wchar_t> path(kPathUnits, L'\0');
    const std::wstring proposed = codec::Wide(proposedPath);
    proposed.copy(path.data(), std::min<std::size_t>(proposed.size(), kPathUnits - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = filterIndex;
    dialog.lpstrDefExt = extension;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    filterIndex = dialog.nFilterIndex;
    return codec::Utf8(path.data());
}

}  // namespace

std::optional<app::SaveTarget> AskSaveTarget(HWND owner, const std::string& proposedPath, bool gbk) {
    DWORD filter = gbk ? 2 : 1;
    const auto path = AskSavePath(owner, proposedPath, L"UTF-8 文本 (*.txt)\0*.txt;*.*\0GBK 文本 (*.txt)\0*.txt;*.*\0",
                                  filter, L"脚本另存为", nullptr);
    if (!path) return std::nullopt;
    return app::SaveTarget{*path, filter == 2};
}

std::optional<std::string> AskExportPath(HWND owner, const app::ExportFormat& format, const std::string& proposedName) {
    // The filter's words name the suffix; its patterns, separated by ';', are all the format's.
    std::string patterns(format.patterns);
    std::replace(patterns.begin(), patterns.end(), ' ', ';');
    const std::wstring filter = codec::Wide(std::string(format.filterName) + " (*." + std::string(format.suffix) + ")") +
                                L'\0' + codec::Wide(patterns) + L'\0';
    const std::wstring title = codec::Wide(app::ExportTitle(format));
    const std::wstring extension = codec::Wide(std::string(format.suffix));
    DWORD filterIndex = 1;
    return AskSavePath(owner, proposedName, filter.c_str(), filterIndex, title.c_str(),
                       extension.c_str());
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::wstring target = codec::Wide(path);
    const std::wstring temporary = target + L".quillon-new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return codec::Utf8(ErrorText(GetLastError()).c_str());
    bool written = true;
    for (std::size_t at = 0; written && at < bytes.size();) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1u << 20));
        DWORD done = 0;
        written = WriteFile(file, bytes.data() + at, piece, &done, nullptr) && done == piece;
        at += done;
    }
    written = written && FlushFileBuffers(file);
    const DWORD error = written ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    if (written && MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return std::nullopt;
    }
    const DWORD failure = written ? GetLastError() : error;
    DeleteFileW(temporary.c_str());
    return codec::Utf8(ErrorText(failure).c_str());
}

bool OpenTarget(const std::string& target) {
    std::wstring wide = codec::Wide(target);
    if (target.find("://") == std::string::npos && !Exists(wide) && Exists(ProgramFolder() + wide)) {
        wide = ProgramFolder() + wide;
    }
    // Its result is a number above 32 when the target was opened.
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace quillon::win32
