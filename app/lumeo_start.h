#pragma once
// What both programs run: Lumeo.exe (a window program) and LumeoCmd.exe (a console program
// for scripts) share it and differ only in where their lines go. Windows build only.
#include <windows.h>

enum class ProgramKind { Window, Console };

// pszCmdLine: the command line after the program's name. Returns the exit code.
int RunLumeo(HINSTANCE hInstance, const wchar_t* pszCmdLine, ProgramKind kind);
