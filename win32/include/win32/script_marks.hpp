// The problems of the last run on the script box: their lines tinted, the word a problem is
// about tinted darker and underlined, and a line's messages as the tooltip over it. Painted
// over the edit box's own drawing, so the box stays the platform's edit control.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/marks.hpp"

namespace quillon::win32 {

class ScriptMarks {
public:
    // tipOf: the tip of the word at (row, column in UTF-16 units) of the box, or empty.
    using WordTipSource = std::function<std::string(std::size_t row, std::size_t column)>;
    // rowsShown: told the rows in view, first to last, each time the box is painted.
    using RowsShown = std::function<void(std::size_t first, std::size_t last)>;
    ScriptMarks(HWND box, WordTipSource tipOf, RowsShown rowsShown = {});
    ~ScriptMarks();
    ScriptMarks(const ScriptMarks&) = delete;
    ScriptMarks& operator=(const ScriptMarks&) = delete;

    void show(const std::vector<app::Mark>& marks);
    const std::vector<app::Mark>& shown() const { return marks_; }

private:
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self);
    void paint();
    void followMouse(LPARAM position);

    HWND box_;
    HWND tooltip_ = nullptr;
    std::vector<app::Mark> marks_;
    std::map<int, std::wstring> messages_;  // row -> its messages, one a line
    WordTipSource tipOf_;
    RowsShown rowsShown_;
    int tooltipRow_ = -1;
    std::wstring tooltipText_;
};

}  // namespace quillon::win32
