#pragma once
// Koretta's debug output: every line is written, there is no switch
// (the extension runs inside Explorer, where Lumeo's registry switch is not read).
void KorettaLog(const wchar_t* format, ...);
