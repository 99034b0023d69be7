#include "common/system_error.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
// One line: a message may end in a line break, and a text of the system is no place for
// control characters.
std::wstring OneLine(std::wstring strText)
{
    for (wchar_t& ch : strText)
        if (ch < L' ')
            ch = L' ';
    while (!strText.empty() && (strText.back() == L' ' || strText.back() == L'.'))
        strText.pop_back();
    return strText;
}
}  // namespace

#ifdef _WIN32
unsigned long LastSystemError() { return GetLastError(); }

bool IsNotFoundError(unsigned long nError)
{
    switch (nError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

std::wstring SystemErrorText(unsigned long nError)
{
    wchar_t* pszText = nullptr;
    const DWORD nChars = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, nError, 0,
        reinterpret_cast<wchar_t*>(&pszText), 0, nullptr);
    std::wstring strText = nChars && pszText ? std::wstring(pszText, nChars) : std::wstring();
    if (pszText)
        LocalFree(pszText);
    return OneLine(strText);
}
#else
unsigned long LastSystemError() { return static_cast<unsigned long>(errno); }

bool IsNotFoundError(unsigned long nError) { return nError == ENOENT || nError == ENOTDIR; }

std::wstring SystemErrorText(unsigned long nError)
{
    const char* pszText = std::strerror(static_cast<int>(nError));
    return OneLine(pszText ? std::wstring(pszText, pszText + std::strlen(pszText)) : std::wstring());
}
#endif
