#include "app/shared/program_arguments.h"

std::wstring ArgumentsOfCommandLine(const wchar_t* pszCommandLine)
{
    if (!pszCommandLine)
        return {};
    const wchar_t* p = pszCommandLine;
    bool bInQuotes = false;
    while (*p && (bInQuotes || (*p != L' ' && *p != L'\t'))) {
        if (*p == L'"')
            bInQuotes = !bInQuotes;
        ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}
