#include "app/program_arguments.h"

std::wstring ArgumentsOfCommandLine(const wchar_t* pszCommandLine)
{
    if (!pszCommandLine)
        return {};
    const wchar_t* p = pszCommandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}
