#pragma once
// The command line after the program's name, as a window program's entry point gets it:
// a quoted name ends at the next quote, any other at the first blank or tab; the blanks
// and tabs after it are skipped.
#include <string>

std::wstring ArgumentsOfCommandLine(const wchar_t* pszCommandLine);
