#include "i18n/lang_manager.h"

#include <clocale>
#include <cstdarg>
#include <cwchar>
#include <string>

#include "common/debug_log.h"
#include "common/user_language.h"
#include "common/wide_format.h"
#include "i18n/lang_pattern.h"
#include "i18n/language_suffix.h"

namespace {
constexpr int kPathChars = 260;
constexpr int kCodeChars = 3;
constexpr DWORD kCodeBytes = 6;  // two wide letters and the terminator
constexpr wchar_t kMUILibrary[] = L"vnMUIDLL.dll";
using GetFullLangFileNameW2Fn = int(__cdecl*)(const wchar_t*, const wchar_t*, wchar_t*, wchar_t*);

bool IsFile(const wchar_t* szPath)
{
    const DWORD attributes = GetFileAttributesW(szPath);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "%s<prefix>%s<suffix>" into the caller's buffer; false when it does not fit.
bool FormatLangPath(wchar_t* szPath, int nCapacity, const wchar_t* szFormat, const wchar_t* szFolder,
                    const wchar_t* szLangCode)
{
    const std::wstring strPath = FormatWide(kPathChars * 2, szFormat, szFolder, szLangCode);
    return CopyWhole(szPath, nCapacity, strPath.c_str());
}
}  // namespace

struct CLangManager::FileKind {
    const wchar_t* szName;      // operation named in the log
    const wchar_t* szPattern;   // for vnMUIDLL
    const wchar_t* szFormat;    // folder, code
    bool bSetsCharSet;
};

CLangManager::CLangManager(HMODULE hModule) : CLangManager([hModule] {
    LangModuleInfo module = LangModuleInfo::Lumeo();
    module.hModule = hModule;
    return module;
}())
{
}

CLangManager::CLangManager(const LangModuleInfo& module) : m_module(module) { Log(L"CLangManager"); }

CLangManager::~CLangManager() { Log(L"~CLangManager"); }

void CLangManager::Log(const wchar_t* format, ...) const
{
    if (g_wLogSwitch == 0)
        return;
    va_list args;
    va_start(args, format);
    const std::wstring strLine = FormatWideV(1024, format, args);
    va_end(args);
    DebugLog(L"%s", strLine.c_str());
}

int CLangManager::GetCurrentPath(wchar_t* szPath, int nCapacity) const
{
    wchar_t szModule[kPathChars] = {};
    const DWORD nLength = GetModuleFileNameW(m_module.hModule, szModule, kPathChars);
    // A cut module path would name another folder.
    if (nLength == 0 || nLength >= static_cast<DWORD>(kPathChars)) {
        if (szPath && nCapacity > 0)
            szPath[0] = L'\0';
        return 0;
    }
    int nCut = static_cast<int>(nLength) - 1;
    while (nCut > 0 && szModule[nCut] != L'\\')
        --nCut;
    szModule[nCut + 1] = L'\0';
    if (!CopyWhole(szPath, nCapacity, szModule))
        return 0;
    Log(L"GetCurrentPath/ %s ", szPath);
    return static_cast<int>(std::wcslen(szPath));
}

int CLangManager::GetUserPrimaryLanguage() const { return ::GetUserPrimaryLanguage(); }

void CLangManager::GetLanguageSuffix(wchar_t* szLangCode, int nCapacity) const
{
    CopyWhole(szLangCode, nCapacity, LanguageSuffixOfLangId(GetUserDefaultLanguageId()));
}

int CLangManager::GetLocalCodeFromRegistry(wchar_t* szLangCode, int nCapacity) const
{
    const HINSTANCE hInstance = m_module.hModule ? m_module.hModule : GetModuleHandleW(nullptr);
    auto loadString = [hInstance](UINT nId, const wchar_t* szBuiltIn) {
        wchar_t szText[kPathChars] = {};
        return LoadStringW(hInstance, nId, szText, kPathChars) > 0 ? std::wstring(szText) : std::wstring(szBuiltIn);
    };
    const std::wstring strAbbrev = loadString(m_module.nAbbrevStringId, L"KVQ");
    const std::wstring strName = loadString(m_module.nNameStringId, L"Lumeora");
    const std::wstring strRegPath = FormatWide(kPathChars, L"SOFTWARE\\%s\\%s\\", strAbbrev.c_str(), strName.c_str());
    Log(L"[KVQ] GetLocalCodeFromRegistry :szRegPath %s", strRegPath.c_str());

    struct Hive {
        HKEY hRoot;
        const wchar_t* szFound;
        const wchar_t* szNoKey;
        const wchar_t* szNoValue;
    };
    static const Hive kHives[] = {
        {HKEY_CURRENT_USER, L"[KVQ] GetLocalCodeFromRegistry : HKEY_CURRENT_USER : %s",
         L"[KVQ] GetLocalizedFileSuffix : HKEY_CURRENT_USER: No KEY Error",
         L"[KVQ] GetLocalizedFileSuffix : HKEY_CURRENT_USER: KVQLangCode Error"},
        {HKEY_LOCAL_MACHINE, L"[KVQ] GetLocalCodeFromRegistry : HKEY_LOCAL_MACHINE : %s",
         L"[KVQ] GetLocalizedFileSuffix : HKEY_LOCAL_MACHINE: No KEY Error",
         L"[KVQ] GetLocalizedFileSuffix : HKEY_LOCAL_MACHINE : KVQLangCode Error"},
    };
    for (const Hive& hive : kHives) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExW(hive.hRoot, strRegPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
            Log(hive.szNoKey);
            continue;
        }
        // Room for two letters only: a longer value fails to read and the next source decides.
        wchar_t szValue[kCodeChars] = {};
        DWORD nSize = kCodeBytes;
        const LSTATUS status =
            RegQueryValueExW(hKey, L"KVQLangCode", nullptr, nullptr, reinterpret_cast<BYTE*>(szValue), &nSize);
        RegCloseKey(hKey);
        szValue[kCodeChars - 1] = L'\0';  // a value stored without its terminator
        // An empty value is a code all the same: its file is missing and English applies.
        if (status == ERROR_SUCCESS && CopyWhole(szLangCode, nCapacity, szValue)) {
            Log(hive.szFound, szLangCode);
            return 1;
        }
        Log(hive.szNoValue);
    }
    return 0;
}

int CLangManager::GetFileNameFromMUI(const wchar_t* szFolder, const wchar_t* szPattern, wchar_t* szFile,
                                     int nFileCapacity, wchar_t* szLangCode, int nCodeCapacity) const
{
    wchar_t szLibrary[kPathChars] = {};
    if (GetCurrentPath(szLibrary, kPathChars) == 0 || std::wcslen(szLibrary) + std::wcslen(kMUILibrary) >= kPathChars)
        return 0;
    std::wcscat(szLibrary, kMUILibrary);
    // By full path: never a library of the same name from elsewhere on the search path.
    HMODULE hLibrary = LoadLibraryW(szLibrary);
    if (!hLibrary)
        return 0;
    auto pfnGetFileName = reinterpret_cast<GetFullLangFileNameW2Fn>(
        reinterpret_cast<void*>(GetProcAddress(hLibrary, "GetFullLangFileNameW2")));
    if (!pfnGetFileName) {
        FreeLibrary(hLibrary);
        return 0;
    }
    wchar_t szFolderArg[kPathChars] = {};
    wchar_t szPatternArg[kPathChars] = {};
    std::wcsncpy(szFolderArg, szFolder ? szFolder : L"", kPathChars - 1);
    std::wcsncpy(szPatternArg, szPattern ? szPattern : L"", kPathChars - 1);
    wchar_t szFileOut[kPathChars] = {};
    wchar_t szCodeOut[kPathChars] = {};
    int nResult = pfnGetFileName(szFolderArg, szPatternArg, szFileOut, szCodeOut);
    FreeLibrary(hLibrary);
    if (nResult == 0)
        return 0;
    szFileOut[kPathChars - 1] = L'\0';
    szCodeOut[kCodeChars - 1] = L'\0';  // a code has at most two letters
    // A name cut to fit would be another file: the next source decides instead.
    if (!CopyWhole(szFile, nFileCapacity, szFileOut))
        return 0;
    if (szLangCode && nCodeCapacity > 0) {
        std::wcsncpy(szLangCode, szCodeOut, nCodeCapacity - 1);
        szLangCode[nCodeCapacity - 1] = L'\0';
    }
    return nResult;
}

int CLangManager::ResolveFile(const FileKind& kind, wchar_t* szPath, int nCapacity) const
{
    wchar_t szFolder[kPathChars] = {};
    if (GetCurrentPath(szFolder, kPathChars) == 0) {
        Log(L"[KVQ] %s : GetCurrentPath return 0, FALSE", kind.szName);
        return 0;
    }
    if (m_szPreferredCode[0]) {
        if (FormatLangPath(szPath, nCapacity, kind.szFormat, szFolder, m_szPreferredCode) && IsFile(szPath)) {
            Log(L"[KVQ] %s : policy %s", kind.szName, szPath);
            if (kind.bSetsCharSet)
                g_nCharSet = GetCharSetFromLangCode(m_szPreferredCode);
            return 1;
        }
        Log(L"[KVQ] %s : policy language %s has no file", kind.szName, m_szPreferredCode);
    }
    wchar_t szLangCode[kCodeChars] = {};
    if (GetFileNameFromMUI(szFolder, kind.szPattern, szPath, nCapacity, szLangCode, kCodeChars)) {
        Log(L"[KVQ] %s : MUI %s / %s", kind.szName, szPath, szLangCode);
        if (kind.bSetsCharSet)
            g_nCharSet = GetCharSetFromLangCode(szLangCode);
        return 1;
    }
    Log(L"[KVQ] %s : NO MUI", kind.szName);
    if (!GetLocalCodeFromRegistry(szLangCode, kCodeChars)) {
        Log(L"[KVQ] %s : GetLocalCodeFromRegistry FAIL/ GetLanguageSuffix", kind.szName);
        GetLanguageSuffix(szLangCode, kCodeChars);
    }
    Log(L"[KVQ] %s : szLangCode: %s", kind.szName, szLangCode);
    if (m_module.bSetsCrtLocale)
        _wsetlocale(LC_ALL, L"English");
    if (FormatLangPath(szPath, nCapacity, kind.szFormat, szFolder, szLangCode) && IsFile(szPath)) {
        if (kind.bSetsCharSet)
            g_nCharSet = GetCharSetFromLangCode(szLangCode);
        return 1;
    }
    Log(L"[KVQ] %s : %s file doesn't exist / Force to Set EN", kind.szName, szPath);
    std::wcscpy(szLangCode, L"EN");
    if (FormatLangPath(szPath, nCapacity, kind.szFormat, szFolder, szLangCode) && IsFile(szPath)) {
        if (kind.bSetsCharSet)
            g_nCharSet = GetCharSetFromLangCode(szLangCode);
        return 1;
    }
    Log(L"[KVQ] %s : Default also not avaialbe FALSE", kind.szName);
    return 0;
}

int CLangManager::GetUIFileName(wchar_t* szPath, int nCapacity) const
{
    static const FileKind kUIFile = {L"GetUIFileName", L"LOCAL_$$.DAT", L"%sLOCAL_%s.dat", false};
    return ResolveFile(kUIFile, szPath, nCapacity);
}

int CLangManager::GetHelpFileName(wchar_t* szPath, int nCapacity) const
{
    static const FileKind kHelpFile = {L"GetHelpFileName", L"help_$$.chm", L"%sHELP_%s.chm", true};
    return ResolveFile(kHelpFile, szPath, nCapacity);
}

void CLangManager::PreferLanguage(const wchar_t* szLangCode)
{
    // Only a code that fits whole; anything else leaves the other sources to decide.
    if (!CopyWhole(m_szPreferredCode, kCodeChars, szLangCode ? szLangCode : L""))
        m_szPreferredCode[0] = L'\0';
}

int CLangManager::GetCharSetFromLangCode(const wchar_t* szLangCode) const
{
    const wchar_t* szName = nullptr;
    const int nCharSet = CharSetOfLangCode(szLangCode, &szName);
    // Written whatever the log switch.
    DebugLogAlways(L"%s", szName);
    return nCharSet;
}
