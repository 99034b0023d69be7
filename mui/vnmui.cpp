// vnMUIDLL: picks the language file for the language chosen for the machine at install
// (LumeoSetup's LANGUAGE), else for the user's Windows display language.
// GetFullLangFileNameW2(folder, pattern with "$$", out file[260], out code[260]):
// 1 with the full path of that language's file; 0 when there is none, so that the
// caller's registry code and Windows language decide.
#include <windows.h>

#include <cwchar>
#include <string>

#include "i18n/lang_pattern.h"
#include "i18n/language_suffix.h"

namespace {
constexpr size_t kOutChars = 260;

bool IsFile(const std::wstring& strPath)
{
    const DWORD attributes = GetFileAttributesW(strPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The machine-wide "KVQLangCode" the installers write: two capital letters, else none.
bool MachineLanguage(wchar_t (&szCode)[3])
{
    wchar_t szValue[4] = {};
    DWORD nBytes = sizeof(szValue);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KVQ\\Lumeora", L"KVQLangCode", RRF_RT_REG_SZ, nullptr, szValue,
                     &nBytes) != ERROR_SUCCESS ||
        std::wcslen(szValue) != 2 || szValue[0] < L'A' || szValue[0] > L'Z' || szValue[1] < L'A' || szValue[1] > L'Z')
        return false;
    std::wcscpy(szCode, szValue);
    return true;
}

bool TryCode(const std::wstring& strFolder, const wchar_t* szPattern, const wchar_t* szCode, wchar_t* szOutFile,
             wchar_t* szOutCode)
{
    const std::wstring strPath = strFolder + ExpandLangPattern(szPattern, szCode);
    if (strPath.size() >= kOutChars || !IsFile(strPath))
        return false;
    std::wcscpy(szOutFile, strPath.c_str());
    std::wcscpy(szOutCode, szCode);
    return true;
}
}  // namespace

extern "C" __declspec(dllexport) int __cdecl GetFullLangFileNameW2(const wchar_t* szFolder, const wchar_t* szPattern,
                                                                   wchar_t* szOutFile, wchar_t* szOutCode)
{
    if (!szFolder || !szPattern || !szOutFile || !szOutCode)
        return 0;
    szOutFile[0] = L'\0';
    szOutCode[0] = L'\0';
    std::wstring strFolder = szFolder;
    if (!strFolder.empty() && strFolder.back() != L'\\' && strFolder.back() != L'/')
        strFolder += L'\\';
    wchar_t szMachine[3] = {};
    if (MachineLanguage(szMachine) && TryCode(strFolder, szPattern, szMachine, szOutFile, szOutCode))
        return 1;
    const wchar_t* szCode = LanguageSuffixOfLangId(GetUserDefaultUILanguage());
    return TryCode(strFolder, szPattern, szCode, szOutFile, szOutCode) ? 1 : 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
