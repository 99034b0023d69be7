#include "files/document_file.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "common/ansi_text.h"
#endif

namespace {
DocumentReadHook g_pReadHook = nullptr;
}  // namespace

void SetDocumentReadHook(DocumentReadHook hook) { g_pReadHook = hook; }

#ifdef _WIN32
HANDLE OpenDocumentFile(const std::wstring& strPath, DWORD dwShareMode)
{
    HANDLE hFile = CreateFileW(strPath.c_str(), GENERIC_READ, dwShareMode, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (hFile != INVALID_HANDLE_VALUE && GetFileType(hFile) != FILE_TYPE_DISK) {
        CloseHandle(hFile);
        SetLastError(ERROR_BAD_FILE_TYPE);
        return INVALID_HANDLE_VALUE;
    }
    return hFile;
}

bool IsNoDiskFileError(unsigned long nError) { return nError == ERROR_BAD_FILE_TYPE; }

bool ReadDocumentHead(const std::wstring& strPath, size_t nMaxBytes, std::string& strHead)
{
    if (g_pReadHook)
        g_pReadHook(strPath);
    // Only a peek: a file another program holds open is read all the same.
    HANDLE hFile = OpenDocumentFile(strPath, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    strHead.assign(nMaxBytes, '\0');
    DWORD nRead = 0;
    const bool bRead = ReadFile(hFile, strHead.data(), static_cast<DWORD>(nMaxBytes), &nRead, nullptr) != FALSE;
    CloseHandle(hFile);
    strHead.resize(bRead ? nRead : 0);
    return bRead;
}
#else
bool IsNoDiskFileError(unsigned long nError) { return nError == ENODEV; }

bool ReadDocumentHead(const std::wstring& strPath, size_t nMaxBytes, std::string& strHead)
{
    if (g_pReadHook)
        g_pReadHook(strPath);
    FILE* pFile = std::fopen(ToAnsi(strPath).c_str(), "rb");
    if (!pFile)
        return false;
    struct stat st {};
    const bool bRegular = fstat(fileno(pFile), &st) == 0 && S_ISREG(st.st_mode);
    strHead.assign(nMaxBytes, '\0');
    const size_t nRead = bRegular ? std::fread(strHead.data(), 1, nMaxBytes, pFile) : 0;
    const bool bRead = bRegular && !std::ferror(pFile);
    std::fclose(pFile);
    if (!bRegular)
        errno = ENODEV;
    strHead.resize(nRead);
    return bRead;
}
#endif
