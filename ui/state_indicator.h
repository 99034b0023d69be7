#pragma once
// The printer state's indicator left of the sheet's status line: a mark whose
// colour and shape say the severity, named for screen readers. Pointing at it
// or at the status line, or tabbing to it, opens its card: the status line whole
// and a bar per supply with its name and level. Windows build only.
#include <windows.h>

#include "ui/state_view.h"

// Makes room for the indicator at the status line's left, once the status line
// exists.
void CreateStateIndicator(HWND hSheet);
// Shows the view's severity and keeps its supplies for the card; sets the
// status line.
void ShowStateView(HWND hSheet, const StateView& view);
// Only the indicator's severity, the status line and supplies as they are (a
// run's progress).
void ShowStateSeverity(HWND hSheet, StateSeverity severity);
// No state to show (a check under way, no printer): the indicator goes.
void HideStateIndicator(HWND hSheet);
