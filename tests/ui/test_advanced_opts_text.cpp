#include <gtest/gtest.h>

#include "common/ini_text.h"
#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "ui/access_keys.h"
#include "ui/advanced_opts_text.h"

namespace {
class AdvancedOptsText : public ::testing::Test {
protected:
    void SetUp() override { SetUITextSource(&m_ini); }
    void TearDown() override
    {
        DestroyParamMngr();
        SetUITextSource(nullptr);
        SetUserLanguageIdForTesting(0);
    }
    CParamMngr& Create(int nLanguageId)
    {
        SetUserLanguageIdForTesting(nLanguageId);
        return *CreateParamMngr();
    }
    CIniText m_ini;
};
}  // namespace

TEST_F(AdvancedOptsText, EnglishSizesShowInchesWithTwoDecimalsAndTheFirstNoDimensions)
{
    CParamMngr& mngr = Create(0x0409);
    const std::vector<std::wstring> items = PaperSizeListItems(mngr, kLangEnglish);
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(items[0], L"Original");
    EXPECT_EQ(items[1], L"Letter (8.50 x 11.00 Inches)");
    EXPECT_EQ(items[4], L"A4 (8.27 x 11.69 Inches)");
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_NE(items[i].find(L" Inches)"), std::wstring::npos) << i;
}

TEST_F(AdvancedOptsText, OtherLanguagesShowWholeMillimetres)
{
    CParamMngr& mngr = Create(0x0407);
    const std::vector<std::wstring> items = PaperSizeListItems(mngr, 7);
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(items[0], L"Original");
    EXPECT_EQ(items[4], L"A4 (210 * 297 mm)");
    EXPECT_EQ(items[1], L"Letter (216 * 279 mm)");
}

TEST_F(AdvancedOptsText, UnitsComeFromTheUIFile)
{
    m_ini.Set(L"UNIT", L"IDC_UNIT_MM", L"Millimeter");
    m_ini.Set(L"UNIT", L"IDC_UNIT_INCH", L"in.");
    CParamMngr& mngr = Create(0x0407);
    EXPECT_EQ(PaperSizeListItems(mngr, 7)[4], L"A4 (210 * 297 Millimeter)");
    EXPECT_EQ(PaperSizeListItems(mngr, kLangEnglish)[1], L"Letter (8.50 x 11.00 in.)");
}

TEST_F(AdvancedOptsText, FillingTheListsKeepsTheChosenRows)
{
    CParamMngr& mngr = Create(0x0409);
    mngr.SetPaperSize(5);
    mngr.SetPaperType(3);
    EXPECT_EQ(PaperSizeListItems(mngr, kLangEnglish).size(), 17u);
    const std::vector<std::wstring> types = PaperTypeListItems(mngr);
    ASSERT_EQ(types.size(), 11u);
    EXPECT_EQ(mngr.m_JobSettings.m_nPaperSize, 5);
    EXPECT_EQ(mngr.m_JobSettings.m_nPaperType, 3);
    mngr.SetPaperType(0);
    EXPECT_EQ(types[0], mngr.GetPaperTypeName());
}

TEST(DoubleAmpersands, EveryAmpersandShowsAsACharacter)
{
    EXPECT_EQ(DoubleAmpersands(L"Black & White"), L"Black && White");
    EXPECT_EQ(DoubleAmpersands(L"&A&&B&"), L"&&A&&&&B&&");
    EXPECT_EQ(DoubleAmpersands(L"Schwarzweiß"), L"Schwarzweiß");
    EXPECT_EQ(DoubleAmpersands(L""), L"");
}

TEST(AccessKeys, TheKeyTheTextAsItReadsAndTheAmpersandsALabelShows)
{
    const struct {
        const wchar_t* pszText;
        wchar_t chKey;
        const wchar_t* pszPlain;
        const wchar_t* pszLabel;
    } rows[] = {
        {L"&Print", L'P', L"Print", L"&Print"},
        {L"Black && &White", L'W', L"Black & White", L"Black && &White"},
        {L"Black & White", 0, L"Black & White", L"Black && White"},
        {L"\u958b\u59cb(&m):", L'M', L"\u958b\u59cb:", L"\u958b\u59cb(&m):"},
        {L"&\u00c0 :", L'\u00c0', L"\u00c0 :", L"&\u00c0 :"},
        {L"R&&D", 0, L"R&&D", L"R&&&&D"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AccessKeyOf(row.pszText), row.chKey) << row.pszText;
        EXPECT_EQ(WithoutAccessKey(row.pszText), row.pszPlain);
        EXPECT_EQ(LabelWithAmpersands(row.pszText), row.pszLabel);
    }
    for (const auto& [pszText, pszShown, nKey] : {std::tuple(L"Pap&er Option", L"Paper Option", size_t{3}),
                                                  std::tuple(L"Black && &White", L"Black & White", size_t{8}),
                                                  std::tuple(L"R&&D&", L"R&D", std::wstring::npos)}) {
        EXPECT_EQ(ShownWithAccessKey(pszText).strText, pszShown);
        EXPECT_EQ(ShownWithAccessKey(pszText).nKey, nKey) << pszText;
    }
}
