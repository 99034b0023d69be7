// Which UI string file and help file the language manager resolves under Wine: the
// registry code (per user before machine-wide), vnMUIDLL, the English fallback, the
// help character set, and the program folder of either deliverable.
#include <gtest/gtest.h>

#include <clocale>
#include <windows.h>

#include <string>

#include "i18n/lang_manager.h"
#include "tests/i18n/program_folder.h"
#include "tests/support/log_capture.h"

namespace {
// The program module of the folder with the key parts "KVQ"/"Lumeora" and a switched log.
LangModuleInfo FolderModule(ProgramFolder& folder) { return {folder.Module(), 102, 103}; }

struct Resolved {
    int nUI = 0;
    int nHelp = 0;
    std::wstring strUI;
    std::wstring strHelp;
};

Resolved Resolve(const CLangManager& manager)
{
    wchar_t szUI[260] = {};
    wchar_t szHelp[260] = {};
    Resolved r;
    r.nHelp = manager.GetHelpFileName(szHelp, 260);
    r.nUI = manager.GetUIFileName(szUI, 260);
    r.strUI = szUI;
    r.strHelp = szHelp;
    return r;
}

class LangManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_folder.Module(), nullptr);
        g_nCharSet = 77;  // any value the resolution must replace or keep
    }
    void TearDown() override { g_nCharSet = kDefaultCharSet; }
    void AddLanguage(const std::wstring& code)
    {
        m_folder.AddFile(L"LOCAL_" + code + L".dat");
        m_folder.AddFile(L"HELP_" + code + L".chm");
    }

    PrivateRegistryRoots m_registry;
    ProgramFolder m_folder;
};
}  // namespace

TEST_F(LangManagerTest, ProgramFolderIsThatOfTheModuleWithItsBackslash)
{
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    wchar_t szPath[260] = {};
    EXPECT_EQ(manager.GetCurrentPath(szPath, 260), static_cast<int>(m_folder.Folder().size()));
    EXPECT_EQ(std::wstring(szPath), m_folder.Folder());
    EXPECT_TRUE(log.Contains(L"GetCurrentPath/ " + m_folder.Folder() + L" "));
    // A buffer too small for the folder gets nothing rather than another folder.
    EXPECT_EQ(manager.GetCurrentPath(szPath, 8), 0);
    EXPECT_STREQ(szPath, L"");

    // Without a module: the running program's folder.
    wchar_t szExe[260] = {};
    GetModuleFileNameW(nullptr, szExe, 260);
    std::wstring strExeFolder = szExe;
    strExeFolder.erase(strExeFolder.rfind(L'\\') + 1);
    EXPECT_GT(CLangManager().GetCurrentPath(szPath, 260), 0);
    EXPECT_EQ(std::wstring(szPath), strExeFolder);
}

TEST_F(LangManagerTest, UserCodeWinsOverTheMachineCode)
{
    for (const wchar_t* code : {L"FN", L"KR", L"EN"})
        AddLanguage(code);
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"FN"));
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"KR"));
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    const Resolved r = Resolve(manager);
    EXPECT_EQ(r.nUI, 1);
    EXPECT_EQ(r.strUI, m_folder.Path(L"LOCAL_FN.dat"));
    EXPECT_EQ(r.nHelp, 1);
    EXPECT_EQ(r.strHelp, m_folder.Path(L"HELP_FN.chm"));
    EXPECT_EQ(g_nCharSet, 1);
    EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalCodeFromRegistry :szRegPath SOFTWARE\\KVQ\\Lumeora\\"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalCodeFromRegistry : HKEY_CURRENT_USER : FN"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : NO MUI"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : szLangCode: FN"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetHelpFileName : szLangCode: FN"));

    // Changing the per-user code changes both files.
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"KR"));
    const Resolved again = Resolve(manager);
    EXPECT_EQ(again.strUI, m_folder.Path(L"LOCAL_KR.dat"));
    EXPECT_EQ(again.strHelp, m_folder.Path(L"HELP_KR.chm"));
}

TEST_F(LangManagerTest, MachineCodeWhenTheUserHasNone)
{
    AddLanguage(L"KR");
    AddLanguage(L"EN");
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"KR"));
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    wchar_t szCode[3] = {};
    EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
    EXPECT_STREQ(szCode, L"KR");
    EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalizedFileSuffix : HKEY_CURRENT_USER: No KEY Error"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalCodeFromRegistry : HKEY_LOCAL_MACHINE : KR"));
    EXPECT_EQ(Resolve(manager).strUI, m_folder.Path(L"LOCAL_KR.dat"));
}

TEST_F(LangManagerTest, CodesThatAreNoTwoLetterCodeAreRefused)
{
    AddLanguage(L"KR");
    AddLanguage(L"EN");
    AddLanguage(L"GR");
    CLangManager manager(FolderModule(m_folder));
    wchar_t szCode[3] = {};
    {
        // Three letters do not fit the 6-byte read: the machine-wide code decides.
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"FNX"));
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"KR"));
        LogCapture log;
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"KR");
        EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalizedFileSuffix : HKEY_CURRENT_USER: KVQLangCode Error"));
    }
    {
        // Both too long: no registry code, the user's language decides (English here).
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"KRKR"));
        LogCapture log;
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 0);
        EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalizedFileSuffix : HKEY_LOCAL_MACHINE : KVQLangCode Error"));
        wchar_t szSuffix[3] = {};
        manager.GetLanguageSuffix(szSuffix, 3);
        const Resolved r = Resolve(manager);
        EXPECT_EQ(r.strUI, m_folder.Path(L"LOCAL_" + std::wstring(szSuffix) + L".dat"));
        EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : GetLocalCodeFromRegistry FAIL/ GetLanguageSuffix"));
    }
    {
        // A value stored without its terminator is read.
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"FNX"));
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"GR", 4));
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"GR");
    }
    {
        // An empty value is read like any code: its file "LOCAL_.dat" is missing, so
        // English applies and the machine-wide code is never asked.
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L""));
        wcscpy(szCode, L"XX");
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"");
        LogCapture log;
        EXPECT_EQ(Resolve(manager).strUI, m_folder.Path(L"LOCAL_EN.dat"));
        EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : " + m_folder.Path(L"LOCAL_.dat") +
                                 L" file doesn't exist / Force to Set EN"));
    }
}

TEST_F(LangManagerTest, MissingLanguageFileFallsBackToEnglish)
{
    AddLanguage(L"EN");
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"RU"));
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    const Resolved r = Resolve(manager);
    EXPECT_EQ(r.nUI, 1);
    EXPECT_EQ(r.strUI, m_folder.Path(L"LOCAL_EN.dat"));
    EXPECT_EQ(r.nHelp, 1);
    EXPECT_EQ(r.strHelp, m_folder.Path(L"HELP_EN.chm"));
    EXPECT_EQ(g_nCharSet, 1);  // English, not the Cyrillic set of the missing file
    EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : " + m_folder.Path(L"LOCAL_RU.dat") +
                             L" file doesn't exist / Force to Set EN"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetHelpFileName : " + m_folder.Path(L"HELP_RU.chm") +
                             L" file doesn't exist / Force to Set EN"));
}

TEST_F(LangManagerTest, NoFileAtAllLeavesTheEnglishPathAndTheCharSet)
{
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"RU"));
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    const Resolved r = Resolve(manager);
    EXPECT_EQ(r.nUI, 0);
    EXPECT_EQ(r.strUI, m_folder.Path(L"LOCAL_EN.dat"));
    EXPECT_EQ(r.nHelp, 0);
    EXPECT_EQ(g_nCharSet, 77);
    EXPECT_TRUE(log.Contains(L"[KVQ] GetUIFileName : Default also not avaialbe FALSE"));
    EXPECT_TRUE(log.Contains(L"[KVQ] GetHelpFileName : Default also not avaialbe FALSE"));
}

TEST_F(LangManagerTest, HelpLanguageSetsTheCharSetAndTheUIFileDoesNot)
{
    AddLanguage(L"TK");
    CLangManager manager(FolderModule(m_folder));
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"TK"));
    wchar_t szPath[260] = {};
    EXPECT_EQ(manager.GetUIFileName(szPath, 260), 1);
    EXPECT_EQ(g_nCharSet, 77);
    EXPECT_EQ(manager.GetHelpFileName(szPath, 260), 1);
    EXPECT_EQ(g_nCharSet, 162);

    // A lower-case code is used unchanged in the file name, and matches no character set.
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"tk"));
    EXPECT_EQ(manager.GetHelpFileName(szPath, 260), 1);
    EXPECT_EQ(std::wstring(szPath), m_folder.Path(L"HELP_tk.chm"));
    EXPECT_EQ(g_nCharSet, 1);
    EXPECT_EQ(manager.GetUIFileName(szPath, 260), 1);
    EXPECT_EQ(std::wstring(szPath), m_folder.Path(L"LOCAL_tk.dat"));
}

TEST_F(LangManagerTest, KeyIsBuiltFromTheModuleStringsWithBuiltInFallback)
{
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"JP", -1, L"KVQTEST"));
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"KR"));
    wchar_t szCode[3] = {};
    {
        // Lumeo's string identifiers in this module name another product abbreviation.
        LogCapture log;
        CLangManager manager(LangModuleInfo{m_folder.Module(), 61403, 61404});
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"JP");
        EXPECT_TRUE(log.Contains(L"[KVQ] GetLocalCodeFromRegistry :szRegPath SOFTWARE\\KVQTEST\\Lumeora\\"));
    }
    {
        CLangManager manager(LangModuleInfo::Koretta(m_folder.Module()));
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"KR");
    }
    {
        // The test program has no string table: the built-in "KVQ"/"Lumeora".
        CLangManager manager;
        EXPECT_EQ(manager.GetLocalCodeFromRegistry(szCode, 3), 1);
        EXPECT_STREQ(szCode, L"KR");
    }
}

TEST_F(LangManagerTest, OnlyTheProgramChangesTheRuntimeLocale)
{
    AddLanguage(L"EN");
    wchar_t szPath[260] = {};
    _wsetlocale(LC_ALL, L"C");
    {
        CLangManager manager(LangModuleInfo::Koretta(m_folder.Module()));
        manager.GetUIFileName(szPath, 260);
    }
    EXPECT_STREQ(_wsetlocale(LC_ALL, nullptr), L"C");  // the host's locale stays
    {
        CLangManager manager(LangModuleInfo{m_folder.Module(), 61403, 61404});
        manager.GetUIFileName(szPath, 260);
    }
    EXPECT_STRNE(_wsetlocale(LC_ALL, nullptr), L"C");
    _wsetlocale(LC_ALL, L"C");
}

TEST_F(LangManagerTest, LibraryAnswerWinsOverTheRegistry)
{
    AddLanguage(L"FN");
    AddLanguage(L"EN");
    m_folder.AddMUILibrary();
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"FN"));
    LogCapture log;
    CLangManager manager(FolderModule(m_folder));
    wchar_t szSuffix[3] = {};
    manager.GetLanguageSuffix(szSuffix, 3);
    if (std::wstring(szSuffix) == L"FN")
        GTEST_SKIP() << "needs a display language other than French";
    const Resolved r = Resolve(manager);
    // The display language here is English, and the library has its file.
    EXPECT_EQ(r.strUI, m_folder.Path(L"LOCAL_EN.DAT"));
    EXPECT_EQ(r.strHelp, m_folder.Path(L"help_EN.chm"));
    EXPECT_EQ(g_nCharSet, 1);
    EXPECT_FALSE(log.Contains(L"[KVQ] GetUIFileName : NO MUI"));
    // Loaded for each lookup only.
    EXPECT_EQ(GetModuleHandleW(m_folder.Path(L"vnMUIDLL.dll").c_str()), nullptr);

    // An administrator's language comes before the display language when its files are
    // there; one without files, or no code at all, leaves the choice as it was.
    for (const auto& [pszPolicy, pszFile] : {std::pair{L"FN", L"LOCAL_FN.dat"}, std::pair{L"JP", L"LOCAL_EN.DAT"},
                                             std::pair{L"FNX", L"LOCAL_EN.DAT"}}) {
        manager.PreferLanguage(pszPolicy);
        EXPECT_EQ(Resolve(manager).strUI, m_folder.Path(pszFile)) << pszPolicy;
    }

    wchar_t szFile[260] = {};
    wchar_t szCode[3] = {};
    EXPECT_EQ(manager.GetFileNameFromMUI(m_folder.Folder().c_str(), L"LOCAL_$$.DAT", szFile, 260, szCode, 3), 1);
    EXPECT_STREQ(szCode, L"EN");
    // A buffer too small for the name: the next source decides.
    EXPECT_EQ(manager.GetFileNameFromMUI(m_folder.Folder().c_str(), L"LOCAL_$$.DAT", szFile, 10, szCode, 3), 0);
}

TEST_F(LangManagerTest, LibraryWithoutAFileOrWithoutTheExportLeavesTheChoiceToTheRegistry)
{
    AddLanguage(L"FN");  // no English file: the library finds nothing
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, L"FN"));
    CLangManager manager(FolderModule(m_folder));
    wchar_t szSuffix[3] = {};
    manager.GetLanguageSuffix(szSuffix, 3);
    if (std::wstring(szSuffix) == L"FN")
        GTEST_SKIP() << "needs a display language other than French";
    wchar_t szFile[260] = {};
    wchar_t szCode[3] = {};
    EXPECT_EQ(manager.GetFileNameFromMUI(m_folder.Folder().c_str(), L"LOCAL_$$.DAT", szFile, 260, szCode, 3), 0);

    m_folder.AddMUILibrary();
    EXPECT_EQ(Resolve(manager).strUI, m_folder.Path(L"LOCAL_FN.dat"));
    DeleteFileW(m_folder.Path(L"vnMUIDLL.dll").c_str());
    m_folder.AddMUILibraryWithoutExport();
    m_folder.AddFile(L"LOCAL_EN.dat");
    EXPECT_EQ(manager.GetFileNameFromMUI(m_folder.Folder().c_str(), L"LOCAL_$$.DAT", szFile, 260, szCode, 3), 0);
    EXPECT_EQ(Resolve(manager).strUI, m_folder.Path(L"LOCAL_FN.dat"));
}

TEST(MUILibrary, ExportFindsTheFileOfTheDisplayLanguage)
{
    ProgramFolder folder;
    folder.AddMUILibrary();
    HMODULE hLibrary = LoadLibraryW(folder.Path(L"vnMUIDLL.dll").c_str());
    ASSERT_NE(hLibrary, nullptr);
    using Fn = int(__cdecl*)(const wchar_t*, const wchar_t*, wchar_t*, wchar_t*);
    auto pfn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(hLibrary, "GetFullLangFileNameW2")));
    ASSERT_NE(pfn, nullptr);
    const std::wstring code = LanguageSuffixOfLangId(GetUserDefaultUILanguage());
    wchar_t szFile[260] = {};
    wchar_t szCode[260] = {};
    EXPECT_EQ(pfn(folder.Folder().c_str(), L"help_$$.chm", szFile, szCode), 0);
    EXPECT_STREQ(szFile, L"");

    // Another language's file is no answer, English included.
    folder.AddFile(code == L"KR" ? L"HELP_JP.chm" : L"HELP_KR.chm");
    EXPECT_EQ(pfn(folder.Folder().c_str(), L"help_$$.chm", szFile, szCode), 0);

    folder.AddFile(L"HELP_" + code + L".chm");
    std::wstring strNoBackslash = folder.Folder();
    strNoBackslash.pop_back();
    EXPECT_EQ(pfn(strNoBackslash.c_str(), L"help_$$.chm", szFile, szCode), 1);
    EXPECT_EQ(std::wstring(szFile), folder.Path(L"help_" + code + L".chm"));
    EXPECT_EQ(std::wstring(szCode), code);
    FreeLibrary(hLibrary);
}

TEST(MUILibrary, TheLanguageChosenForTheMachineWinsWhenItsFileIsThere)
{
    ProgramFolder folder;
    folder.AddMUILibrary();
    PrivateRegistryRoots roots;
    const std::wstring display = LanguageSuffixOfLangId(GetUserDefaultUILanguage());
    const std::wstring chosen = display == L"GR" ? L"KR" : L"GR";
    folder.AddFile(L"LOCAL_" + display + L".dat");
    // Not a language, or one without its file: the display language.
    for (const std::wstring& value : {std::wstring(L"gr"), std::wstring(L"GRX"), chosen}) {
        ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, value));
        EXPECT_EQ(Resolve(CLangManager(folder.Module())).strUI, folder.Path(L"LOCAL_" + display + L".DAT"));
    }
    folder.AddFile(L"LOCAL_" + chosen + L".dat");
    EXPECT_EQ(Resolve(CLangManager(folder.Module())).strUI, folder.Path(L"LOCAL_" + chosen + L".DAT"));
}

TEST(LangManagerLog, BothModulesLogOnlyWhenSwitchedOn)
{
    ProgramFolder folder;
    {
        LogCapture log(1);
        { CLangManager manager; }
        EXPECT_TRUE(log.Contains(L"CLangManager"));
        EXPECT_TRUE(log.Contains(L"~CLangManager"));
    }
    {
        LogCapture log(0);
        { CLangManager manager(folder.Module()); }
        EXPECT_TRUE(log.Lines().empty());
    }
    {
        LogCapture log(0);
        { CLangManager manager(LangModuleInfo::Koretta(folder.Module())); }
        EXPECT_TRUE(log.Lines().empty());
    }
    {
        // The character set's name is written whatever the switch.
        LogCapture log(0);
        EXPECT_EQ(CLangManager(folder.Module()).GetCharSetFromLangCode(L"EL"), 161);
        EXPECT_TRUE(log.Contains(L"GREEK_CHARSET"));
    }
}
