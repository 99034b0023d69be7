#pragma once
// CLangManager: which language applies, and which UI string file ("LOCAL_xx.dat") and
// help file ("HELP_xx.chm") in the program folder belong to it. Sources, in order:
// the language an administrator's policy prefers, the vnMUIDLL library beside the
// program, the registry value "KVQLangCode" (per user before machine-wide), the user's
// default Windows language; a missing file falls back to English.
#include <windows.h>

#include "i18n/lang_globals.h"

// What differs between the two deliverables that carry the language manager.
struct LangModuleInfo {
    HMODULE hModule = nullptr;     // the program folder is this module's folder; nullptr: the running exe
    UINT nAbbrevStringId = 61403;  // string resource "KVQ" (product abbreviation)
    UINT nNameStringId = 61404;    // string resource "Lumeora" (product name)
    // The program reads paper sizes with a decimal point, so it fixes its C runtime locale;
    // a shell extension shares the runtime of its host and must leave it alone.
    bool bSetsCrtLocale = true;

    static LangModuleInfo Lumeo() { return {}; }
    static LangModuleInfo Koretta(HMODULE hModule) { return {hModule, 102, 103, false}; }
};

class CLangManager {
public:
    explicit CLangManager(HMODULE hModule = nullptr);
    explicit CLangManager(const LangModuleInfo& module);
    ~CLangManager();
    CLangManager(const CLangManager&) = delete;
    CLangManager& operator=(const CLangManager&) = delete;

    // Folder of the module with its trailing backslash; returns its length (0: none).
    int GetCurrentPath(wchar_t* szPath, int nCapacity) const;
    int GetUserPrimaryLanguage() const;
    // Code of the user's default language; never fails.
    void GetLanguageSuffix(wchar_t* szLangCode, int nCapacity) const;
    // 1 and the code of "KVQLangCode" (HKCU, else HKLM); 0 when neither holds one.
    int GetLocalCodeFromRegistry(wchar_t* szLangCode, int nCapacity) const;
    // Nonzero when vnMUIDLL named a file (used unchanged) and its code.
    int GetFileNameFromMUI(const wchar_t* szFolder, const wchar_t* szPattern, wchar_t* szFile, int nFileCapacity,
                           wchar_t* szLangCode, int nCodeCapacity) const;
    int GetUIFileName(wchar_t* szPath, int nCapacity) const;
    // Also sets g_nCharSet on success.
    int GetHelpFileName(wchar_t* szPath, int nCapacity) const;
    int GetCharSetFromLangCode(const wchar_t* szLangCode) const;
    // A code whose files come before every other source when they exist (empty: none).
    void PreferLanguage(const wchar_t* szLangCode);

private:
    struct FileKind;
    int ResolveFile(const FileKind& kind, wchar_t* szPath, int nCapacity) const;
    void Log(const wchar_t* format, ...) const;

    LangModuleInfo m_module;
    wchar_t m_szPreferredCode[3] = {};
};
