#include <windows.h>

#include <algorithm>

#include "common/debug_log.h"
#include "files/name_pattern.h"

std::vector<std::wstring> ExpandNamePattern(const std::wstring& strPattern)
{
    std::vector<std::wstring> arrPaths;
    const size_t nSeparator = strPattern.find_last_of(L"\\/:");
    const std::wstring strFolder = nSeparator == std::wstring::npos ? L"" : strPattern.substr(0, nSeparator + 1);
    const std::wstring strNamePattern = strPattern.substr(strFolder.size());
    if (strFolder.find_first_of(L"*?") != std::wstring::npos)
        return arrPaths;
    // The folder is listed whole and matched here: the system's own matching also
    // matches short 8.3 names ("*.pdf" would take "x.pdfx").
    WIN32_FIND_DATAW data = {};
    HANDLE hFind = FindFirstFileW((strFolder + L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return arrPaths;
    std::vector<FolderEntry> arrEntries;
    do
        arrEntries.push_back({data.cFileName, data.dwFileAttributes});
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    arrPaths = MatchingFileNames(arrEntries, strNamePattern);
    std::sort(arrPaths.begin(), arrPaths.end(),
              [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    for (std::wstring& strPath : arrPaths)
        strPath = strFolder + strPath;
    DebugLog(L"ExpandNamePattern / %s : %d", strPattern.c_str(), static_cast<int>(arrPaths.size()));
    return arrPaths;
}
