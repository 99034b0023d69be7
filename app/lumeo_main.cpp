// Lumeo.exe: the window program. Its exit code is the sheet's modal result, or that of a
// run without the sheet (for start /wait).
#include <windows.h>

#include "app/lumeo_start.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR pszCmdLine, int)
{
    RunLumeo(hInstance, pszCmdLine, ProgramKind::Window);
}
