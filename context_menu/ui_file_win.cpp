#include "context_menu/ui_file_win.h"

#include <cwchar>
#include <initializer_list>

#include "context_menu/koretta_log.h"
#include "context_menu/koretta_resource_ids.h"

namespace {
constexpr int kPathChars = MAX_PATH;

bool ModuleFolder(HMODULE hModule, wchar_t* pszFolder)
{
    DWORD nLength = GetModuleFileNameW(hModule, pszFolder, kPathChars);
    if (nLength == 0 || nLength >= kPathChars)
        return false;
    wchar_t* pszSlash = wcsrchr(pszFolder, L'\\');
    if (!pszSlash)
        return false;
    pszSlash[1] = L'\0';
    return true;
}

// "KVQLangCode" under SOFTWARE\KVQ\Lumeora\, per user first; at most two letters.
bool LanguageCodeFromRegistry(HMODULE hModule, wchar_t* pszCode)
{
    wchar_t szAbbreviation[32] = {};
    wchar_t szProduct[64] = {};
    if (!LoadStringW(hModule, IDS_PRODUCT_ABBREVIATION, szAbbreviation, 32) ||
        !LoadStringW(hModule, IDS_PRODUCT_NAME, szProduct, 64))
        return false;
    wchar_t szRegPath[kPathChars] = {};
    swprintf(szRegPath, kPathChars, L"SOFTWARE\\%ls\\%ls\\", szAbbreviation, szProduct);
    for (HKEY hHive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExW(hHive, szRegPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            continue;
        wchar_t szValue[3] = {};
        DWORD nBytes = sizeof(szValue);
        LONG nError = RegQueryValueExW(hKey, L"KVQLangCode", nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &nBytes);
        RegCloseKey(hKey);
        if (nError == ERROR_SUCCESS) {
            szValue[2] = L'\0';
            wcscpy(pszCode, szValue);
            return true;
        }
    }
    return false;
}

bool FileExists(const wchar_t* pszPath)
{
    DWORD dwAttributes = GetFileAttributesW(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

BOOL ResolveKorettaUIFile(HMODULE hModule, wchar_t* pszOut)
{
    pszOut[0] = L'\0';
    wchar_t szFolder[kPathChars] = {};
    if (!ModuleFolder(hModule, szFolder))
        return FALSE;
    wchar_t szCode[3] = L"EN";
    LanguageCodeFromRegistry(hModule, szCode);
    swprintf(pszOut, kPathChars, L"%lsLOCAL_%ls.dat", szFolder, szCode);
    if (FileExists(pszOut))
        return TRUE;
    swprintf(pszOut, kPathChars, L"%lsLOCAL_EN.dat", szFolder);
    return FileExists(pszOut) ? TRUE : FALSE;
}
