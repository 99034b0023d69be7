#pragma once
// Koretta's UI string file: LOCAL_xx.dat in the folder of the Koretta module.
#include <windows.h>

// Resolves the file anew into pszOut (260 characters). Returns TRUE when a file exists;
// FALSE leaves the English path (or nothing) there, so every lookup yields its default.
// Kept behind this one call so the shared language manager can take it over.
BOOL ResolveKorettaUIFile(HMODULE hModule, wchar_t* pszOut);
