#pragma once
// Whether a control draws its focus cue: it has the focus, and the keyboard has been used
// in its window (the dialog manager clears UISF_HIDEFOCUS then, as in any Windows dialog).
#include <windows.h>

inline bool ShowsFocusCue(HWND hWnd)
{
    return hWnd && GetFocus() == hWnd && !(SendMessageW(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}
