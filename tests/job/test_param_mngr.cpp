#include <gtest/gtest.h>

#include "common/ini_text.h"
#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/pjl_envelope.h"
#include "tests/support/log_capture.h"

namespace {
class ParamMngr : public ::testing::Test {
protected:
    void SetUp() override { SetUITextSource(&m_ini); }
    void TearDown() override
    {
        DestroyParamMngr();
        SetUITextSource(nullptr);
        SetUserLanguageIdForTesting(0);
    }
    CParamMngr* Create(int languageId = 0x0409)
    {
        SetUserLanguageIdForTesting(languageId);
        return CreateParamMngr();
    }
    CIniText m_ini;
};
}  // namespace

TEST_F(ParamMngr, StartsWithEveryFieldZero)
{
    const JobSettings& s = Create()->m_JobSettings;
    EXPECT_EQ(s.m_nPrintRange | s.m_nFromPage | s.m_nToPage | s.m_nCopies | s.m_nOrientation | s.m_nPaperSize |
                  s.m_nPaperType | s.m_nDuplex | s.m_nColorMode | s.m_bFitToPage | s.m_nZoom,
              0);
}

TEST_F(ParamMngr, SecondCreateReturnsTheSameObjectAndLogs)
{
    CParamMngr* first = Create();
    LogCapture log;
    EXPECT_EQ(CreateParamMngr(), first);
    EXPECT_EQ(GetParamMngr(), first);
    EXPECT_TRUE(log.Contains(L"CParamMngr::create: instnace already exists!"));
    DestroyParamMngr();
    EXPECT_EQ(GetParamMngr(), nullptr);
}

TEST_F(ParamMngr, SettersRefuseOutOfRangeAndKeepTheField)
{
    CParamMngr* p = Create();
    struct Case {
        int (CParamMngr::*setter)(int);
        int32_t JobSettings::*field;
        int low, high;
    };
    const Case cases[] = {
        {&CParamMngr::SetPrintRange, &JobSettings::m_nPrintRange, 0, 1},
        {&CParamMngr::SetFromPage, &JobSettings::m_nFromPage, 0, 9999},
        {&CParamMngr::SetToPage, &JobSettings::m_nToPage, 0, 9999},
        {&CParamMngr::SetCopies, &JobSettings::m_nCopies, 1, 99},
        {&CParamMngr::SetOrientation, &JobSettings::m_nOrientation, 0, 1},
        {&CParamMngr::SetPaperSize, &JobSettings::m_nPaperSize, 0, 16},
        {&CParamMngr::SetPaperType, &JobSettings::m_nPaperType, 0, 10},
        {&CParamMngr::SetDuplex, &JobSettings::m_nDuplex, 0, 2},
        {&CParamMngr::SetColorMode, &JobSettings::m_nColorMode, 0, 1},
        {&CParamMngr::SetZoom, &JobSettings::m_nZoom, 50, 200},
    };
    for (const Case& c : cases) {
        EXPECT_EQ((p->*c.setter)(c.high), 1);
        EXPECT_EQ(p->m_JobSettings.*c.field, c.high);
        EXPECT_EQ((p->*c.setter)(c.low), 1);
        EXPECT_EQ((p->*c.setter)(c.low - 1), 0);
        EXPECT_EQ((p->*c.setter)(c.high + 1), 0);
        EXPECT_EQ(p->m_JobSettings.*c.field, c.low);
    }
    EXPECT_EQ(p->SetFitToPage(-7), 1);
    EXPECT_EQ(p->m_JobSettings.m_bFitToPage, -7);
}

TEST_F(ParamMngr, PageRangeStoresBothOrNeither)
{
    CParamMngr* p = Create();
    EXPECT_EQ(p->SetPageRange(0, 10000), 0);
    EXPECT_EQ(p->m_JobSettings.m_nFromPage, 0);
    EXPECT_EQ(p->m_JobSettings.m_nToPage, 0);
    EXPECT_EQ(p->SetPageRange(7, 9999), 1);
    EXPECT_EQ(p->SetPageRange(-1, 5), 0);
    EXPECT_EQ(p->m_JobSettings.m_nFromPage, 7);
    EXPECT_EQ(p->m_JobSettings.m_nToPage, 9999);
}

TEST_F(ParamMngr, ZoomLogsItsDecision)
{
    CParamMngr* p = Create();
    LogCapture log;
    EXPECT_EQ(p->SetZoom(49), 0);
    EXPECT_EQ(p->SetZoom(201), 0);
    EXPECT_EQ(p->SetZoom(50), 1);
    EXPECT_EQ(p->m_JobSettings.m_nZoom, 50);
    const std::vector<std::wstring> expected = {
        L"CParamMngr::SetZoom : 49",  L"CParamMngr::SetZoom : return FALSE", L"CParamMngr::SetZoom : 201",
        L"CParamMngr::SetZoom : return FALSE", L"CParamMngr::SetZoom : 50", L"CParamMngr::SetZoom : return TRUE"};
    EXPECT_EQ(log.Lines(), expected);
}

TEST_F(ParamMngr, OriginalRowDependsOnTheUserLanguage)
{
    CParamMngr* english = Create(0x0409);
    EXPECT_EQ(english->GetPaperSizeName(), L"Original");
    EXPECT_EQ(english->GetPaperSizePJL(), L"AUTO");
    EXPECT_EQ(english->GetPaperWidthMM(), 216);
    EXPECT_EQ(english->GetPaperHeightMM(), 279);
    EXPECT_DOUBLE_EQ(english->GetPaperWidthInch(), 8.5);
    EXPECT_DOUBLE_EQ(english->GetPaperHeightInch(), 11);
    DestroyParamMngr();

    CParamMngr* german = Create(0x0407);
    EXPECT_EQ(german->GetPaperWidthMM(), 210);
    EXPECT_EQ(german->GetPaperHeightMM(), 297);
    EXPECT_DOUBLE_EQ(german->GetPaperWidthInch(), 8.27);
    EXPECT_DOUBLE_EQ(german->GetPaperHeightInch(), 11.69);
}

TEST_F(ParamMngr, TablesHoldTheBuiltInRows)
{
    CParamMngr* p = Create();
    const auto& sizes = p->PaperSizes();
    EXPECT_EQ(sizes[8].strName, L"Envelope #10");
    EXPECT_EQ(sizes[8].strPJL, L"COM10");
    EXPECT_DOUBLE_EQ(sizes[8].dWidthInch, 4.125);
    EXPECT_EQ(sizes[16].strName, L"B4");
    EXPECT_EQ(sizes[16].strPJL, L"JISB4");
    EXPECT_EQ(sizes[16].nHeightMM, 364);
    EXPECT_EQ(sizes[13].nWidthMM, 98);
    const auto& types = p->PaperTypes();
    EXPECT_EQ(types[0].strPJL, L"OFF");
    EXPECT_EQ(types[0].strName, L"Default");
    EXPECT_EQ(types[10].strPJL, L"USED");
    EXPECT_EQ(types[10].strName, L"Preprinted");
    p->SetPaperType(8);
    EXPECT_EQ(p->GetPaperTypeName(), L"Transparency");
    EXPECT_EQ(p->GetPaperTypePJL(), L"OHP");
}

TEST_F(ParamMngr, DefaultsOfEachPageTouchOnlyTheirOwnOptions)
{
    CParamMngr* p = Create();
    JobSettings& s = p->m_JobSettings;
    s = JobSettings{2, 5, 7, 9, 1, 4, 3, 2, 1, 1, 150};
    p->SetAdvancedDefaults();
    EXPECT_EQ(s.m_nColorMode | s.m_nDuplex | s.m_bFitToPage | s.m_nPaperSize | s.m_nPaperType, 0);
    EXPECT_EQ(s.m_nZoom, 100);
    EXPECT_EQ(s.m_nPrintRange, 2);  // the Basic page's options stay
    EXPECT_EQ(s.m_nCopies, 9);
    p->SetBasicDefaults();
    EXPECT_EQ(s.m_nPrintRange, 0);
    EXPECT_EQ(s.m_nFromPage, 1);
    EXPECT_EQ(s.m_nToPage, 1);
    EXPECT_EQ(s.m_nCopies, 1);
    EXPECT_EQ(s.m_nOrientation, 0);
}

TEST_F(ParamMngr, UIStringFileOverridesEntryByEntry)
{
    m_ini.Parse(L"[PAPER_INFO_A4]\nNAME=DIN A4\n"
                L"[PAPER_INFO_LEGAL]\nPJLCMD=LEGAL14\nWIDTH_MM=200\nHEIGHT_INCH=abc\n"
                L"[PAPER_INFO_A5]\nNAME=\n"
                L"[PAPERTYPE_INFO_THICK]\nTYPE=Dick\n");
    CParamMngr* p = Create();
    const auto& sizes = p->PaperSizes();
    EXPECT_EQ(sizes[4].strName, L"DIN A4");
    EXPECT_EQ(sizes[4].strPJL, L"A4");  // PJLCMD left out: the keyword stays
    EXPECT_EQ(sizes[2].strPJL, L"LEGAL14");
    EXPECT_EQ(sizes[2].nWidthMM, 200);
    EXPECT_DOUBLE_EQ(sizes[2].dHeightInch, 0);  // not a number
    EXPECT_EQ(sizes[5].strName, L"");           // present but empty
    EXPECT_EQ(p->PaperTypes()[2].strName, L"Dick");
    EXPECT_EQ(p->PaperTypes()[2].strPJL, L"THICK");
}

TEST_F(ParamMngr, AccessorsStayInsideTheTablesForUncheckedFields)
{
    CParamMngr* p = Create();
    p->m_JobSettings.m_nPaperSize = 99;  // the pages write fields directly
    p->m_JobSettings.m_nPaperType = -3;
    EXPECT_EQ(p->GetPaperSizePJL(), L"AUTO");
    EXPECT_EQ(p->GetPaperTypePJL(), L"OFF");
}

TEST_F(ParamMngr, PolicyDefaultsLieUnderTheCommandLineAndLocksOverEverything)
{
    CParamMngr* p = Create();
    JobSettings& s = p->m_JobSettings;
    p->m_Policy.defaults.nCopies = 3;
    p->m_Policy.defaults.nDuplex = 1;
    p->m_Policy.defaults.nPaperType = 2;
    p->m_Policy.bLockPaper = true;  // a locked paper without a size: "Original"
    s.m_nPaperSize = 4;
    p->SetBasicDefaults();
    p->SetAdvancedDefaults();
    EXPECT_EQ(std::vector<int>({s.m_nCopies, s.m_nDuplex, s.m_nPaperSize, s.m_nPaperType}),
              std::vector<int>({3, 1, 0, 2}));
    JobOptions cmd;
    cmd.nDuplex = 2;
    cmd.nPaperType = 3;
    EXPECT_STREQ(LockedOptionGiven(cmd, p->m_Policy), L"/type");
    p->ApplyAdvancedOptions(cmd);
    s.m_nPaperSize = 7;  // as a page writes it
    EXPECT_EQ(SnapshotJob().strPaperPJL + L" " + SnapshotJob().strPaperTypePJL, L"AUTO THICK");
    EXPECT_EQ(s.m_nDuplex, 2);
}
