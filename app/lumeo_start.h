#pragma once
// What both programs run: Lumeo.exe (a window program) and LumeoCmd.exe (a console program
// for scripts) share it and differ only in where their lines go. Windows build only.
#include <windows.h>

enum class ProgramKind { Window, Console };

// pszCmdLine: the command line after the program's name. Ends the process with the exit
// code: a printer check may still wait for a silent printer on a worker thread, and the C
// runtime's clean-up must not run beneath it.
[[noreturn]] void RunLumeo(HINSTANCE hInstance, const wchar_t* pszCmdLine, ProgramKind kind);
