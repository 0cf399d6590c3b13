#include "win32/edit_text.hpp"

#include "codec/wide_text.hpp"

namespace quillon::win32 {

std::wstring ForEditBox(std::string_view utf8) {
    const std::wstring wide = codec::Wide(utf8);
    std::wstring out;
    out.reserve(wide.size() + wide.size() / 16);
    for (const wchar_t c : wide) {
        if (c == L'\n') out.push_back(L'\r');
        out.push_back(c);
    }
    return out;
}

std::string FromEditBox(std::wstring_view text) {
    std::wstring lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        lf.push_back(text[i]);
    }
    return codec::Utf8(lf.c_str());
}

std::string BoxText(HWND box) {
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), length + 1)));
    return FromEditBox(text);
}

void SetBoxText(HWND box, std::string_view utf8) { SetWindowTextW(box, ForEditBox(utf8).c_str()); }

void ReplaceBoxText(HWND box, std::string_view utf8) {
    const std::wstring text = ForEditBox(utf8);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

}  // namespace quillon::win32
