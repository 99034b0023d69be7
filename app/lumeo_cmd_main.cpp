// LumeoCmd.exe: the console program for scripts; cmd and PowerShell wait for it and see
// its lines.
#include <windows.h>

#include "app/lumeo_start.h"
#include "app/shared/program_arguments.h"

int wmain()
{
    const std::wstring strArguments = ArgumentsOfCommandLine(GetCommandLineW());
    RunLumeo(GetModuleHandleW(nullptr), strArguments.c_str(), ProgramKind::Console);
}
