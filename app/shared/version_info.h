#pragma once
// Where the version shown at start-up comes from: the "FileVersion" of the program's
// version resource and key "Minor" of section "VERSION" in "Lumeo.Ver" beside it.
#include <windows.h>

#include <string>

// Empty when the module has no version resource or no such string.
std::wstring ReadFileVersion(HMODULE hModule);
// Empty when the folder is empty or the file or key is missing; at most 9 characters.
std::wstring ReadMinorVersion(const std::wstring& strFolder);
// The splash text of the running program, label from "UI_SHEET"/"IDL_VERSION".
std::wstring ComposeSheetVersionText();
