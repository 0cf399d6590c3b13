// The problems of the last run on the script box: their lines tinted, the word a problem is
// about tinted darker and underlined, and a line's messages as the tooltip over it. Painted
// over the edit box's own drawing, so the box stays the platform's edit control.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/marks.hpp"

namespace quillon::win32 {

class ScriptMarks {
public:
    explicit ScriptMarks(HWND box);
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
    int tooltipRow_ = -1;
    std::wstring tooltipText_;
};

}  // namespace quillon::win32
