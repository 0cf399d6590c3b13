#include "win32/files.hpp"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "codec/script_file.hpp"
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
    std::vector<wchar_t> path(kPathUnits, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return codec::Utf8(path.data());
}

std::optional<app::SaveTarget> AskSaveTarget(HWND owner, const std::string& proposedPath, bool gbk) {
    std::vector<wchar_t> path(kPathUnits, L'\0');
    const std::wstring proposed = codec::Wide(proposedPath);
    proposed.copy(path.data(), std::min<std::size_t>(proposed.size(), kPathUnits - 1));
    static const wchar_t kFilter[] = L"UTF-8 文本 (*.txt)\0*.txt;*.*\0GBK 文本 (*.txt)\0*.txt;*.*\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = gbk ? 2 : 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrTitle = L"脚本另存为";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return app::SaveTarget{codec::Utf8(path.data()), dialog.nFilterIndex == 2};
}

std::optional<std::string> AskExportPath(HWND owner, app::ExportFormat format) {
    std::vector<wchar_t> path(kPathUnits, L'\0');
    const std::wstring proposed = codec::Wide(app::FrontEnd::ExportName(format));
    proposed.copy(path.data(), proposed.size());
    const bool csv = format == app::ExportFormat::Csv;
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = csv ? L"CSV 表格 (*.csv)\0*.csv\0" : L"网页 (*.html)\0*.html;*.htm\0";
    dialog.lpstrDefExt = csv ? L"csv" : L"html";
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrTitle = csv ? L"导出表格" : L"导出网页";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return codec::Utf8(path.data());
}

app::FileRead ReadFile(const std::string& path) {
    codec::ScriptBytes read = codec::ReadScriptFile(path);
    app::FileRead file;
    file.status = read.ok ? app::FileRead::Status::Read
                          : (read.tooLarge ? app::FileRead::Status::TooLarge : app::FileRead::Status::Unreadable);
    file.bytes = std::move(read.bytes);
    return file;
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

void OpenTarget(const std::string& target) {
    std::wstring wide = codec::Wide(target);
    if (target.find("://") == std::string::npos && !Exists(wide) && Exists(ProgramFolder() + wide)) {
        wide = ProgramFolder() + wide;
    }
    ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace quillon::win32
