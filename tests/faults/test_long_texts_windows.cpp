// A UI string file with values of 10,000 characters, read through the platform's profile
// reader: every text is cut at 259 characters, numbers stay numbers, and the paper tables
// and the PJL header built from such texts keep their shape.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>

#include "common/ansi_text.h"
#include "common/ui_text.h"
#include "job/settings/paper_tables.h"
#include "job/spooler/pjl_envelope.h"
#include "tests/support/temp_file.h"

namespace {
class UIFile {
public:
    UIFile(const char* name, const std::wstring& text) : m_file(name, Utf16File(text))
    {
        wcsncpy(g_szUIFileName, m_file.Path().c_str(), kTextChars - 1);
    }
    ~UIFile() { g_szUIFileName[0] = L'\0'; }

private:
    TempFile m_file;
};

const std::wstring kLong(10000, L'Q');
}  // namespace

TEST(LongTexts, ValuesOfTenThousandCharactersAreCutAt259)
{
    UIFile ui("faults_long.dat",
              L"[UI_SHEET]\r\nIDL_TITLE=" + kLong + L"\r\nIDL_OK=OK\r\n[ERROR_MSG]\r\nIDL_MESSAGE_NOSUPPORT=" + kLong +
                  L"X\r\n[" + kLong + L"]\r\nKEY=hidden\r\n[PAPER_INFO_A4]\r\nWIDTH_MM=" + std::wstring(10000, L'9') +
                  L"\r\nHEIGHT_MM=297" + kLong + L"\r\n");
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo"), std::wstring(259, L'Q'));
    // The key after a long line is still found.
    EXPECT_EQ(GetUIText(L"UI_SHEET", L"IDL_OK", L"x"), L"OK");
    EXPECT_EQ(GetUIText(L"ERROR_MSG", L"IDL_MESSAGE_NOSUPPORT", L"x"), std::wstring(259, L'Q'));
    EXPECT_EQ(GetUIText(L"ERROR_MSG", L"MISSING", L"default"), L"default");
    EXPECT_EQ(GetUIInt(L"PAPER_INFO_A4", L"HEIGHT_MM", 1), 297);
    GetUIInt(L"PAPER_INFO_A4", L"WIDTH_MM", 210);  // whatever the platform makes of it, no fault
}

TEST(LongTexts, PaperTablesAndTheHeaderStayInShape)
{
    std::wstring ini;
    for (const wchar_t* s : {L"A4", L"LETTER", L"LEGAL", L"A3"})
        ini += std::wstring(L"[PAPER_INFO_") + s + L"]\r\nNAME=" + kLong + L"\r\nPJLCMD=" + kLong + L"\r\nWIDTH_INCH=" +
               kLong + L"\r\n";
    ini += L"[PAPERTYPE_INFO_NORMAL]\r\nTYPE=" + kLong + L"\r\nPJLCMD=" + kLong + L"\r\n";
    UIFile ui("faults_paper.dat", ini);
    for (bool bEnglish : {false, true}) {
        const PaperSizeTable sizes = BuildPaperSizeTable(bEnglish);
        for (const PaperSizeInfo& row : sizes) {
            EXPECT_LE(row.strName.size(), 259u);
            EXPECT_LE(row.strPJL.size(), 259u);
        }
        for (const PaperTypeInfo& row : BuildPaperTypeTable()) {
            EXPECT_LE(row.strName.size(), 259u);
            EXPECT_LE(row.strPJL.size(), 259u);
        }
        const std::wstring h = ComposeStartPJL(JobSettings{}, sizes[0].strPJL, L"OFF", 0, L"a.pdf");
        EXPECT_EQ(h.rfind(kUEL, 0), 0u);
        EXPECT_EQ(h.substr(h.size() - 25), L"@PJL ENTER LANGUAGE=PDF\r\n");
    }
}
