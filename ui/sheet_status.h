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
// What the sheet does now: a held outcome gives way.
void SetSheetStatus(HWND hSheet, const std::wstring& strText);
// A run's outcome: it stays in the line until the user does something new.
void SetSheetOutcome(HWND hSheet, const std::wstring& strText);
// The printer's state for the line: shown at once, or kept for when a held outcome
// gives way.
void SetSheetStateLine(HWND hSheet, const std::wstring& strText);
// The user did something new: a held outcome gives way to the state line kept.
void ReleaseSheetOutcome(HWND hSheet);
bool SheetHoldsOutcome(HWND hSheet);
// Shows the progress bar at nPermille of 1000, or hides it with a negative value.
void SetSheetProgress(HWND hSheet, int nPermille);
