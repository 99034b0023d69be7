#include <gtest/gtest.h>

#include "common/ini_text.h"
#include "common/user_language.h"
#include "job/param_mngr.h"
#include "ui/info_preview_text.h"

namespace {
constexpr int kLetter = 1, kA4 = 4;

class InfoPreviewText : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUITextSource(&m_ini);
        SetUserLanguageIdForTesting(0x0407);
        m_pMngr = CreateParamMngr();
        m_pMngr->SetCopies(1);
        m_pMngr->SetPageRange(1, 1);
    }
    void TearDown() override
    {
        DestroyParamMngr();
        SetUITextSource(nullptr);
        SetUserLanguageIdForTesting(0);
    }
    CIniText m_ini;
    CParamMngr* m_pMngr = nullptr;
};
}  // namespace

TEST_F(InfoPreviewText, BandsAndRange)
{
    m_pMngr->SetCopies(3);
    m_pMngr->SetDuplex(2);
    m_pMngr->SetColorMode(1);
    InfoPreviewTexts texts = ComposeInfoPreviewTexts(*m_pMngr, 7);
    EXPECT_EQ(texts.strCopies, L"Copies : 3");
    EXPECT_EQ(texts.strDuplex, L"Double-Sided Printing : Short Edge");
    EXPECT_EQ(texts.strColor, L"Color : Black & White");
    EXPECT_EQ(texts.strRange, L"All");
    m_pMngr->SetPrintRange(1);
    m_pMngr->SetPageRange(2, 5);
    EXPECT_EQ(ComposeInfoPreviewTexts(*m_pMngr, 7).strRange, L"2 - 5");
}

TEST_F(InfoPreviewText, PaperTextByLanguage)
{
    EXPECT_EQ(ComposeInfoPreviewTexts(*m_pMngr, 7).strPaper, L"Original\n");
    m_pMngr->SetPaperSize(kA4);
    EXPECT_EQ(ComposeInfoPreviewTexts(*m_pMngr, 7).strPaper, L"A4\n210 x 297 mm");
    m_pMngr->SetPaperSize(kLetter);
    EXPECT_EQ(ComposeInfoPreviewTexts(*m_pMngr, 9).strPaper, L"Letter\n8.50 x 11.00 Inches");
}

TEST_F(InfoPreviewText, LocalizedLabels)
{
    m_ini.Parse(L"[UI_BASIC_TAB]\nIDC_STATIC_COPIES=Kopien\n[UNIT]\nIDC_UNIT_MM=Millimeter\n");
    m_pMngr->SetPaperSize(kA4);
    const InfoPreviewTexts texts = ComposeInfoPreviewTexts(*m_pMngr, 7);
    EXPECT_EQ(texts.strCopies, L"Kopien : 1");
    EXPECT_EQ(texts.strPaper, L"A4\n210 x 297 Millimeter");
}

TEST(PaperPictureBox, A4AndA3FillTheBandLetterSitsLower)
{
    // Client 185 x 257: the band is 150 pixels high.
    const PreviewBox a4 = PaperPictureBox(0, 0, 185, 257, 210, 297, false);
    const PreviewBox a3 = PaperPictureBox(0, 0, 185, 257, 297, 420, false);
    const PreviewBox letter = PaperPictureBox(0, 0, 185, 257, 216, 279, false);
    EXPECT_GE(a4.bottom - a4.top, 149);
    EXPECT_LE(a4.bottom - a4.top, 150);
    EXPECT_GE(a3.bottom - a3.top, 149);
    EXPECT_LE(a3.bottom - a3.top, 150);
    EXPECT_LT(letter.bottom - letter.top, a4.bottom - a4.top);
    EXPECT_EQ(letter.right - letter.left, static_cast<int>(150.0f / 297.0f * 216.0f));
    // Centred horizontally in the width less 2, vertically in the band below the top line.
    EXPECT_EQ(a4.left, (183 - (a4.right - a4.left)) / 2);
    EXPECT_EQ(a4.top, (150 - (a4.bottom - a4.top)) / 2 + 20);
}

TEST(PaperPictureBox, LandscapeSwapsTheSides)
{
    const PreviewBox portrait = PaperPictureBox(0, 0, 185, 257, 210, 297, false);
    const PreviewBox landscape = PaperPictureBox(0, 0, 185, 257, 210, 297, true);
    EXPECT_EQ(landscape.right - landscape.left, portrait.bottom - portrait.top);
    EXPECT_EQ(landscape.bottom - landscape.top, portrait.right - portrait.left);
}

TEST(PaperPictureBox, TooSmallAPanelGivesNoPicture)
{
    const PreviewBox box = PaperPictureBox(0, 0, 100, 90, 210, 297, false);
    EXPECT_EQ(box.right - box.left, 0);
}
