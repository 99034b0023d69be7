#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "common/ini_text.h"
#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "ui/dpi_scale.h"
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
    EXPECT_EQ(texts.copies.Joined(), L"Copies : 3");
    EXPECT_EQ(texts.duplex.Joined(), L"Double-Sided Printing : Short Edge");
    EXPECT_EQ(texts.color.Joined(), L"Color : Black & White");
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
    EXPECT_EQ(texts.copies.Joined(), L"Kopien : 1");
    EXPECT_EQ(texts.strPaper, L"A4\n210 x 297 Millimeter");
}

TEST(InfoPreviewWrap, TheLabelGivesWayAndNoValueIsCut)
{
    const TextWidth fnChars = [](const std::wstring& strText) { return static_cast<int>(strText.size()); };
    using Lines = std::vector<std::wstring>;
    const LabelledText duplex{L"Double-Sided Printing", L"Long Edge"};
    EXPECT_EQ(WrapLabelled(duplex, 33, fnChars), Lines{L"Double-Sided Printing : Long Edge"});
    EXPECT_EQ(WrapLabelled(duplex, 14, fnChars), (Lines{L"Double-Sided", L"Printing :", L"Long Edge"}));
    EXPECT_EQ(WrapLabelled(duplex, 5, fnChars),
              (Lines{L"Doubl", L"e-Sid", L"ed", L"Print", L"ing :", L"Long", L"Edge"}));
    EXPECT_EQ(WrapText(L"\u4e21\u9762\u5370\u5237", 2, fnChars), (Lines{L"\u4e21\u9762", L"\u5370\u5237"}));
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

TEST(PreviewLayout, At96DpiTheFixedPixelsOfTheLook)
{
    const PreviewLayout l = ComputePreviewLayout(0, 0, 185, 257, 96, 13);
    EXPECT_EQ(l.topLine.top, 1);
    EXPECT_EQ(l.topLine.bottom, 19);
    EXPECT_EQ(l.paperText.top, 257 - 86);
    EXPECT_EQ(l.paperText.bottom, 257 - 58);
    EXPECT_EQ(l.bands[0].top, 257 - 57);
    EXPECT_EQ(l.bands[0].bottom, 257 - 39);
    EXPECT_EQ(l.bands[1].top, 257 - 38);
    EXPECT_EQ(l.bands[2].top, 257 - 19);
    EXPECT_EQ(l.bands[2].bottom, 257 - 1);
    EXPECT_EQ(l.bands[2].left, 1);
    EXPECT_EQ(l.bands[2].right, 184);
    EXPECT_EQ(l.nPictureHeight, 150);
    EXPECT_EQ(l.nShrink, 6);
    EXPECT_EQ(l.nShadowStep, 2);
}

TEST(PreviewLayout, ScaledPartsHoldTheirTextAndThePictureStaysInItsBand)
{
    // The panel of 123 x 158 dialog units at 120, 144 and 192 dpi, with the cell
    // heights of the default GUI font there, and a font far larger than that.
    const struct {
        int nDpi, cx, cy, nText;
    } cases[] = {{120, 231, 321, 16}, {144, 277, 385, 20}, {192, 370, 514, 26}, {144, 277, 385, 40}};
    for (const auto& c : cases) {
        const PreviewLayout l = ComputePreviewLayout(0, 0, c.cx, c.cy, c.nDpi, c.nText);
        const int nLine = std::max(ScaleToDpi(18, c.nDpi), c.nText + ScaleToDpi(5, c.nDpi));
        EXPECT_EQ(l.topLine.bottom - l.topLine.top, nLine) << c.nDpi;
        EXPECT_GE(l.paperText.bottom - l.paperText.top, 2 * c.nText) << c.nDpi;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(l.bands[i].bottom - l.bands[i].top, nLine) << c.nDpi;
            EXPECT_GT(l.bands[i].top, i ? l.bands[i - 1].bottom : l.paperText.bottom - 1) << c.nDpi;
        }
        EXPECT_LE(l.bands[2].bottom, c.cy);
        for (const auto& paper : {std::pair{210, 297}, std::pair{297, 420}, std::pair{216, 356}})
            for (bool bLandscape : {false, true}) {
                const PreviewBox box = PaperPictureBox(l, 0, c.cx, paper.first, paper.second, bLandscape);
                EXPECT_GE(box.top, l.topLine.bottom) << c.nDpi;
                EXPECT_LE(box.bottom, l.paperText.top) << c.nDpi;
                EXPECT_GE(box.left, 0) << c.nDpi;
                EXPECT_LE(box.right, c.cx) << c.nDpi;
            }
    }
}
