// A file of the program's own in the user's temporary folder, for a library that writes only to
// a named file (the workbook export); removed when it goes.
#pragma once

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include <signal.h>
#endif

#include <optional>
#include <string>

namespace quillon::platform {

class TemporaryFile {
public:
    // A new empty file with the given suffix, or nullopt when the folder takes none.
    static std::optional<TemporaryFile> Make(const std::string& suffix);
    static std::string FolderForMessages();  // where Make puts its files, for a message
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    ~TemporaryFile();

    // The names as the C library's fopen takes them: on Windows in the ANSI code page (an 8.3
    // name where the long one has characters outside it).
    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }
    std::optional<std::string> contents() const;  // nullopt when it cannot be read

private:
    TemporaryFile(std::string path, std::string folder) : path_(std::move(path)), folder_(std::move(folder)) {}
    std::string path_;
    std::string folder_;
};

// While it lives, this thread holds back the signals that end a program from a terminal or a
// process manager (SIGTERM, SIGINT, SIGHUP): they arrive when it goes, after the temporary files
// made meanwhile are removed, so that none is left behind. Nothing on Windows and in the page.
class HeldSignals {
public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
    sigset_t previous_;
#endif
};

}  // namespace quillon::platform
