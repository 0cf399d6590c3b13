#include "platform/temporary_file.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <unistd.h>
#endif

namespace quillon::platform {
namespace {

#ifdef _WIN32
// The ANSI form of a wide name, or of its 8.3 form when the long one does not fit the code page.
std::optional<std::string> Ansi(const std::wstring& name) {
    auto convert = [](const std::wstring& wide) -> std::optional<std::string> {
        BOOL lossy = FALSE;
        const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
        if (size <= 0 || lossy) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, bytes.data(), size, nullptr, &lossy);
        bytes.pop_back();  // the terminator
        return bytes;
    };
    if (auto bytes = convert(name)) return bytes;
    const DWORD size = GetShortPathNameW(name.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring shortName(size, L'\0');
    shortName.resize(GetShortPathNameW(name.c_str(), shortName.data(), size));
    return convert(shortName);
}
#else
std::string PosixFolder() {
    const char* variable = std::getenv("TMPDIR");
    return variable != nullptr && *variable != '\0' ? variable : "/tmp";
}
#endif

}  // namespace

std::string TemporaryFile::FolderForMessages() {
#ifdef _WIN32
    return "the folder TMP names";
#else
    return PosixFolder();
#endif
}

std::optional<TemporaryFile> TemporaryFile::Make(const std::string& suffix) {
#ifdef _WIN32
    wchar_t folder[MAX_PATH + 1];
    wchar_t file[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"qln", 0, file) == 0) return std::nullopt;
    // The name GetTempFileNameW made is unique; the suffix goes on a second file beside it.
    std::wstring named = std::wstring(file) + std::wstring(suffix.begin(), suffix.end());
    const HANDLE handle = CreateFileW(named.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    DeleteFileW(file);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    CloseHandle(handle);
    auto path = Ansi(named);
    auto ansiFolder = Ansi(folder);
    if (!path || !ansiFolder) {
        DeleteFileW(named.c_str());
        return std::nullopt;
    }
    return TemporaryFile(std::move(*path), std::move(*ansiFolder));
#else
    std::string folder = PosixFolder();
    std::string path = folder + "/quillon-XXXXXX" + suffix;
    const int descriptor = mkstemps(path.data(), static_cast<int>(suffix.size()));
    if (descriptor < 0) return std::nullopt;
    close(descriptor);
    return TemporaryFile(std::move(path), std::move(folder));
#endif
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), folder_(std::move(other.folder_)) {}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) std::remove(path_.c_str());
}

// Through C's stdio, as the library wrote it: iostreams would add a megabyte to a static program.
std::optional<std::string> TemporaryFile::contents() const {
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string bytes;
    char buffer[16384];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return bytes;
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
HeldSignals::HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
}
HeldSignals::~HeldSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
#else
HeldSignals::HeldSignals() {}
HeldSignals::~HeldSignals() {}
#endif

}  // namespace quillon::platform
