// A module to stand for the program in a folder of its own: only its string table matters.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
