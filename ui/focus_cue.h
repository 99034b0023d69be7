#pragma once
// Whether a control draws its focus cue: it has the focus, and the keyboard has been used
// in its window (the dialog manager clears UISF_HIDEFOCUS then, as in any Windows dialog).
#include <windows.h>

inline bool ShowsFocusCue(HWND hWnd)
{
    return hWnd && GetFocus() == hWnd && !(SendMessageW(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// DrawText's flag for a text with an access key: underlined once the keyboard is used.
inline UINT AccessKeyDrawFlag(HWND hWnd)
{
    return (SendMessageW(hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
}
