#pragma once
// Opens a help file in the HTML Help viewer (HH_DISPLAY_TOPIC). The viewer is
// loaded the first time help is asked for; without it, nothing happens.
#include <windows.h>

// True when the viewer took the request (it shows its own error for a bad file).
bool OpenHelpFile(HWND hOwner, const wchar_t* pszHelpFile);
