// The shipped UI string files read through the platform's profile reader, as the program
// reads them: every value of the UTF-8 source comes back unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/i18n/lang_file_entries.h"
#include "tests/i18n/program_folder.h"

TEST(LangFilesWindows, ProfileReaderGivesEveryValueOfTheSource)
{
    for (const std::string& code : ShippedLanguages()) {
        const std::wstring strDat = WinePath((LangFolder().string() + "/LOCAL_" + code + ".dat").c_str());
        const std::vector<LangEntry> entries =
            ParseLangEntries(DecodeUtf8(ReadBytes(LangFolder() / "src" / ("LOCAL_" + code + ".ini"))));
        ASSERT_GT(entries.size(), 100u) << code;
        for (const LangEntry& e : entries) {
            wchar_t szValue[260] = {};
            GetPrivateProfileStringW(e.strSection.c_str(), e.strKey.c_str(), L"<missing>", szValue, 260,
                                     strDat.c_str());
            EXPECT_EQ(std::wstring(szValue), e.strValue) << code << " " << std::string(e.strKey.begin(), e.strKey.end());
            if (e.strKey == L"WIDTH_MM") {
                EXPECT_EQ(GetPrivateProfileIntW(e.strSection.c_str(), L"WIDTH_MM", -1, strDat.c_str()),
                          std::stoi(e.strValue));
            }
        }
    }
}
