// The sample list: its labels, and a closed list that ignores the wheel and the arrow keys,
// which would replace the script with a neighbouring sample; the keys open the list instead,
// where Enter chooses.
#pragma once

#include <windows.h>

namespace quillon::win32 {

void FillSampleList(HWND list);
void GuardClosedList(HWND list);

}  // namespace quillon::win32
