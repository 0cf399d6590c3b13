#include "app/desktop_files.hpp"

#include "codec/encoding.hpp"
#include "codec/script_file.hpp"

namespace quillon::app {

FileRead ReadScriptFile(const std::string& path) {
    codec::ScriptBytes read = codec::ReadScriptFile(path);
    FileRead file;
    file.status = read.ok ? FileRead::Status::Read
                          : (read.tooLarge ? FileRead::Status::TooLarge : FileRead::Status::Unreadable);
    file.bytes = std::move(read.bytes);  // up to 16 MiB: moved, not copied
    return file;
}

SaveBytes BytesToSave(std::string_view script, bool gbk, std::string_view path) {
    std::string text = FrontEnd::ForSaving(script);
    if (!gbk) return {std::move(text), {}};
    std::string bytes = codec::Utf8ToGbk(text);
    if (codec::GbkToUtf8(bytes) != text) {
        return {std::nullopt, "脚本中有 GBK 无法表示的字符，未保存：\n" + std::string(path) + "\n请存为 UTF-8。"};
    }
    return {std::move(bytes), {}};
}

std::string SaveFailedMessage(std::string_view path, std::string_view reason) {
    return "无法保存：\n" + std::string(path) + "\n" + std::string(reason);
}

}  // namespace quillon::app
