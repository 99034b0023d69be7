#pragma once
// The command line after the program's name, as the C runtime gives a window program's
// entry point: the name runs to the first blank or tab outside double quotes; the blanks
// and tabs after it are skipped.
#include <string>

std::wstring ArgumentsOfCommandLine(const wchar_t* pszCommandLine);
