#include "app/saving.hpp"

#include "app/front_end.hpp"
#include "codec/encoding.hpp"

namespace quillon::app {

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
