// The user's Windows language decides when neither vnMUIDLL nor the registry does.
// CTest runs this program once per locale (LC_ALL sets Wine's user locale) and tells it
// the code and character set to expect in LUMEO_EXPECT_CODE / LUMEO_EXPECT_CHARSET.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/ui_text.h"
#include "i18n/lang_manager.h"
#include "tests/i18n/lang_file_entries.h"
#include "tests/i18n/program_folder.h"

namespace {
class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strCode = WineEnv(L"LUMEO_EXPECT_CODE");
        ASSERT_FALSE(m_strCode.empty()) << "run through CTest";
        const std::wstring charSet = WineEnv(L"LUMEO_EXPECT_CHARSET");
        m_nCharSet = charSet.empty() ? 1 : std::stoi(charSet);
        ASSERT_NE(m_folder.Module(), nullptr);
        g_nCharSet = 77;
    }
    void TearDown() override
    {
        g_nCharSet = kDefaultCharSet;
        g_szUIFileName[0] = L'\0';
    }
    void AddLanguage(const std::wstring& code)
    {
        m_folder.AddFile(L"LOCAL_" + code + L".dat");
        m_folder.AddFile(L"HELP_" + code + L".chm");
    }
    std::wstring Resolve(bool bHelp)
    {
        wchar_t szPath[260] = {};
        const int nFound = bHelp ? m_manager.GetHelpFileName(szPath, 260) : m_manager.GetUIFileName(szPath, 260);
        EXPECT_EQ(nFound, 1);
        return szPath;
    }

    std::wstring m_strCode;
    int m_nCharSet = 1;
    PrivateRegistryRoots m_registry;
    ProgramFolder m_folder;
    CLangManager m_manager{LangModuleInfo{m_folder.Module(), 102, 103}};
};
}  // namespace

TEST_F(LocaleTest, UserLanguageGivesTheCodeAndBothFiles)
{
    wchar_t szCode[3] = {};
    m_manager.GetLanguageSuffix(szCode, 3);
    EXPECT_EQ(std::wstring(szCode), m_strCode);
    AddLanguage(m_strCode);
    AddLanguage(L"EN");
    EXPECT_EQ(Resolve(false), m_folder.Path(L"LOCAL_" + m_strCode + L".dat"));
    EXPECT_EQ(Resolve(true), m_folder.Path(L"HELP_" + m_strCode + L".chm"));
    EXPECT_EQ(g_nCharSet, m_nCharSet);
}

TEST_F(LocaleTest, MissingFileOfTheLanguageFallsBackToEnglish)
{
    AddLanguage(L"EN");
    EXPECT_EQ(Resolve(false), m_folder.Path(L"LOCAL_EN.dat"));
    EXPECT_EQ(Resolve(true), m_folder.Path(L"HELP_EN.chm"));
    EXPECT_EQ(g_nCharSet, 1);
}

TEST_F(LocaleTest, RegistryCodeOutranksTheLanguage)
{
    AddLanguage(m_strCode);
    AddLanguage(L"KR");
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_LOCAL_MACHINE, L"KR"));
    EXPECT_EQ(Resolve(false), m_folder.Path(L"LOCAL_KR.dat"));
}

TEST_F(LocaleTest, LibraryFollowsTheDisplayLanguage)
{
    AddLanguage(m_strCode);
    AddLanguage(L"EN");
    AddLanguage(L"KR");
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, m_strCode == L"KR" ? L"EN" : L"KR"));
    m_folder.AddMUILibrary();
    EXPECT_EQ(Resolve(false), m_folder.Path(L"LOCAL_" + m_strCode + L".DAT"));
    EXPECT_EQ(Resolve(true), m_folder.Path(L"help_" + m_strCode + L".chm"));
    EXPECT_EQ(g_nCharSet, m_nCharSet);
}

TEST_F(LocaleTest, LibraryWithoutAFileOfTheDisplayLanguageLeavesTheChoiceToTheRegistry)
{
    const std::wstring strRegistryCode = m_strCode == L"FN" ? L"KR" : L"FN";
    AddLanguage(strRegistryCode);
    // English is there, yet it is no answer of the library's unless it is the display language.
    if (m_strCode != L"EN")
        AddLanguage(L"EN");
    ASSERT_TRUE(PrivateRegistryRoots::SetCode(HKEY_CURRENT_USER, strRegistryCode));
    m_folder.AddMUILibrary();
    EXPECT_EQ(Resolve(false), m_folder.Path(L"LOCAL_" + strRegistryCode + L".dat"));
    EXPECT_EQ(Resolve(true), m_folder.Path(L"HELP_" + strRegistryCode + L".chm"));
}

TEST_F(LocaleTest, ShippedFilesGiveTheLanguageItsTexts)
{
    for (const std::string& code : ShippedLanguages()) {
        const std::wstring name = L"LOCAL_" + std::wstring(code.begin(), code.end()) + L".dat";
        m_folder.AddCopy(WinePath((LangFolder().string() + "/LOCAL_" + code + ".dat").c_str()), name);
    }
    const std::wstring strPath = Resolve(false);
    const bool bShipped = GetFileAttributesW(m_folder.Path(L"LOCAL_" + m_strCode + L".dat").c_str()) !=
                          INVALID_FILE_ATTRIBUTES;
    const std::string strExpected = bShipped ? std::string(m_strCode.begin(), m_strCode.end()) : "EN";
    EXPECT_EQ(strPath, m_folder.Path(L"LOCAL_" + std::wstring(strExpected.begin(), strExpected.end()) + L".dat"));
    std::wstring strPrint;
    for (const LangEntry& e :
         ParseLangEntries(DecodeUtf8(ReadBytes(LangFolder() / "src" / ("LOCAL_" + strExpected + ".ini")))))
        if (e.strSection == L"UI_SHEET" && e.strKey == L"IDL_PRINT")
            strPrint = e.strValue;
    wcsncpy(g_szUIFileName, strPath.c_str(), kTextChars - 1);
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_PRINT", L"?"), strPrint);
}
