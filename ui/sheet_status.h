#pragma once
// The sheet's status line and progress bar, left of its buttons: what the sheet is
// doing (checking the printer, printing file i of n) and how the print run ends.
// Real controls with fixed identifiers, so keyboards and screen readers find them.
// Windows build only.
#include <windows.h>

#include <string>

// Creates both controls in the sheet's button row, once; the progress bar starts hidden.
void CreateSheetStatus(HWND hSheet);
// The status line's text (an empty text clears it); creates the controls when needed.
void SetSheetStatus(HWND hSheet, const std::wstring& strText);
// Shows the progress bar at nPermille of 1000, or hides it with a negative value.
void SetSheetProgress(HWND hSheet, int nPermille);
