#include "ui/info_preview_text.h"

#include <algorithm>

#include "common/ui_text.h"
#include "common/user_language.h"
#include "common/wide_format.h"

namespace {
constexpr size_t kLineChars = 2 * kTextChars;

std::wstring Labelled(const std::wstring& strLabel, const std::wstring& strValue)
{
    return FormatWide(kLineChars, L"%s : %s", strLabel.c_str(), strValue.c_str());
}
}  // namespace

InfoPreviewTexts ComposeInfoPreviewTexts(const CParamMngr& mngr, int nPrimaryLanguage)
{
    const JobSettings& js = mngr.m_JobSettings;
    InfoPreviewTexts texts;

    texts.strColor = Labelled(GetUIText(L"UI_ADVANCED_TAB", L"IDC_STATIC_COLORMODE", L"Color"),
                              js.m_nColorMode == 1
                                  ? GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_COLORMODE_BW", L"Black & White")
                                  : GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_COLORMODE_AUTO", L"Auto"));

    std::wstring strDuplex;
    if (js.m_nDuplex == 1)
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_LONG", L"Long Edge");
    else if (js.m_nDuplex == 2)
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_SHORT", L"Short Edge");
    else
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_NONE", L"None");
    texts.strDuplex = Labelled(GetUIText(L"UI_ADVANCED_TAB", L"IDC_STATIC_DUPLEX", L"Double-Sided Printing"), strDuplex);

    texts.strCopies = FormatWide(kLineChars, L"%s : %d",
                                 GetUIText(L"UI_BASIC_TAB", L"IDC_STATIC_COPIES", L"Copies").c_str(), js.m_nCopies);

    if (js.m_nPrintRange == 0)
        texts.strRange = GetUIText(L"UI_BASIC_TAB", L"IDC_RADIO_PRINTRANGE_ALL", L"All");
    else if (js.m_nPrintRange == 1)
        texts.strRange = FormatWide(kLineChars, L"%d - %d", js.m_nFromPage, js.m_nToPage);

    const std::wstring strName = mngr.GetPaperSizeName();
    if (js.m_nPaperSize == 0)
        texts.strPaper = FormatWide(kLineChars, L"%s\n", strName.c_str());
    else if (nPrimaryLanguage == kLangEnglish)
        texts.strPaper = FormatWide(kLineChars, L"%s\n%.2f x %.2f %s", strName.c_str(), mngr.GetPaperWidthInch(),
                                    mngr.GetPaperHeightInch(), GetUIText(L"UNIT", L"IDC_UNIT_INCH", L"Inches").c_str());
    else
        texts.strPaper = FormatWide(kLineChars, L"%s\n%d x %d %s", strName.c_str(), int(mngr.GetPaperWidthMM()),
                                    int(mngr.GetPaperHeightMM()), GetUIText(L"UNIT", L"IDC_UNIT_MM", L"mm").c_str());
    return texts;
}

PreviewBox PaperPictureBox(int x0, int y0, int x1, int y1, int nWidthMM, int nHeightMM, bool bLandscape)
{
    const int A = (y1 - 86) - (y0 + 19) - y0 - 2;
    if (A <= 0 || nWidthMM <= 0 || nHeightMM <= 0)
        return {0, 0, 0, 0};
    const float s = std::min(static_cast<float>(A) / static_cast<float>(nHeightMM), static_cast<float>(A) / 297.0f);
    const int pw = static_cast<int>(s * static_cast<float>(bLandscape ? nHeightMM : nWidthMM));
    const int ph = static_cast<int>(s * static_cast<float>(bLandscape ? nWidthMM : nHeightMM));
    const int left = ((x1 - x0 - 2) - pw) / 2;
    const int top = (A - ph) / 2 + 20;
    return {left, top, left + pw, top + ph};
}
