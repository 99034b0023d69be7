#include "ui/info_preview_text.h"

#include <algorithm>

#include "common/placeholders.h"
#include "common/ui_text.h"
#include "common/user_language.h"
#include "common/wide_format.h"
#include "ui/access_keys.h"
#include "ui/dpi_scale.h"

namespace {
constexpr size_t kLineChars = 2 * kTextChars;

// The longest start of a word that fits, one character at least.
size_t FittingChars(const std::wstring& strWord, int nWidth, const TextWidth& fnWidth)
{
    size_t nChars = 1;
    while (nChars < strWord.size() && fnWidth(strWord.substr(0, nChars + 1)) <= nWidth)
        ++nChars;
    return nChars;
}
}  // namespace

namespace {
// "Copies : 1": how the language joins a label and its value.
std::wstring LabelledPattern() { return GetUIText(L"UI_SHEET", L"IDL_LABELLED", L"{1} : {2}"); }
}  // namespace

std::wstring LabelledText::Joined() const
{
    return FillPlaceholders(LabelledPattern(), {strLabel, strValue}).substr(0, kLineChars - 1);
}

std::wstring LabelledText::LabelPart() const
{
    const std::wstring strPattern = LabelledPattern();
    std::wstring strPart = FillPlaceholders(strPattern.substr(0, strPattern.find(L"{2}")), {strLabel});
    while (!strPart.empty() && strPart.back() == L' ')
        strPart.pop_back();
    return strPart;
}

std::vector<std::wstring> WrapText(const std::wstring& strText, int nWidth, const TextWidth& fnWidth)
{
    std::vector<std::wstring> arrLines;
    std::wstring strLine;
    size_t i = 0;
    while (i < strText.size()) {
        const size_t nBlank = strText.find(L' ', i);
        std::wstring strWord = strText.substr(i, nBlank == std::wstring::npos ? std::wstring::npos : nBlank - i);
        i = nBlank == std::wstring::npos ? strText.size() : nBlank + 1;
        if (strWord.empty())
            continue;
        const std::wstring strJoined = strLine.empty() ? strWord : strLine + L" " + strWord;
        if (fnWidth(strJoined) <= nWidth) {
            strLine = strJoined;
            continue;
        }
        if (!strLine.empty())
            arrLines.push_back(strLine);
        // A word wider than the line is broken where it must be.
        while (fnWidth(strWord) > nWidth && strWord.size() > 1) {
            const size_t nChars = FittingChars(strWord, nWidth, fnWidth);
            arrLines.push_back(strWord.substr(0, nChars));
            strWord.erase(0, nChars);
        }
        strLine = strWord;
    }
    if (!strLine.empty() || arrLines.empty())
        arrLines.push_back(strLine);
    return arrLines;
}

std::vector<std::wstring> WrapLabelled(const LabelledText& text, int nWidth, const TextWidth& fnWidth)
{
    const std::wstring strJoined = text.Joined();
    if (fnWidth(strJoined) <= nWidth)
        return {strJoined};
    std::vector<std::wstring> arrLines = WrapText(text.LabelPart(), nWidth, fnWidth);
    const std::vector<std::wstring> arrValue = WrapText(text.strValue, nWidth, fnWidth);
    arrLines.insert(arrLines.end(), arrValue.begin(), arrValue.end());
    return arrLines;
}

InfoPreviewTexts ComposeInfoPreviewTexts(const CParamMngr& mngr, int nPrimaryLanguage)
{
    const JobSettings& js = mngr.m_JobSettings;
    InfoPreviewTexts texts;
    // The panel shows the pages' labels as they read, without their access keys.
    const auto GetUIText = [](const wchar_t* pszSection, const wchar_t* pszKey, const wchar_t* pszDefault) {
        return WithoutAccessKey(::GetUIText(pszSection, pszKey, pszDefault));
    };

    texts.color = {GetUIText(L"UI_ADVANCED_TAB", L"IDC_STATIC_COLORMODE", L"Color"),
                   js.m_nColorMode == 1 ? GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_COLORMODE_BW", L"Black & White")
                                        : GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_COLORMODE_AUTO", L"Auto")};

    std::wstring strDuplex;
    if (js.m_nDuplex == 1)
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_LONG", L"Long Edge");
    else if (js.m_nDuplex == 2)
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_SHORT", L"Short Edge");
    else
        strDuplex = GetUIText(L"UI_ADVANCED_TAB", L"IDC_RADIO_DUPLEX_NONE", L"None");
    texts.duplex = {GetUIText(L"UI_ADVANCED_TAB", L"IDC_STATIC_DUPLEX", L"Double-Sided Printing"), strDuplex};
    texts.copies = {GetUIText(L"UI_BASIC_TAB", L"IDC_STATIC_COPIES", L"Copies"), std::to_wstring(js.m_nCopies)};

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

PreviewLayout ComputePreviewLayout(int x0, int y0, int x1, int y1, int nDpi, int nTextCellHeight,
                                   const PreviewLines& lines)
{
    auto s = [nDpi](int n) { return ScaleToDpi(n, nDpi); };
    const int g = s(1);
    // A part of one line is as high as before; each further line adds a text cell.
    auto Height = [&](int nLines) {
        return std::max(s(18), nTextCellHeight + s(5)) + (std::max(nLines, 1) - 1) * nTextCellHeight;
    };
    const int nPaper = std::max(s(28), 2 * nTextCellHeight + s(2)) + (std::max(lines.nPaper, 2) - 2) * nTextCellHeight;
    PreviewLayout layout{};
    // Colour at the bottom, double-sided above it, copies above that.
    int bottom = y1 - g;
    for (int i = 2; i >= 0; --i) {
        const int nHeight = Height(lines.nBands[i]);
        layout.bands[i] = {x0 + g, bottom - nHeight, x1 - g, bottom};
        bottom -= nHeight + g;
    }
    layout.nEdge = g;
    layout.nTextInset = s(5);
    const int nPaperBottom = layout.bands[0].top - g;
    layout.paperText = {x0, nPaperBottom - nPaper, x1, nPaperBottom};
    layout.topLine = {x0, y0 + g, x1, y0 + g + Height(lines.nTop)};
    layout.nPictureTop = layout.topLine.bottom + g;
    layout.nPictureHeight = layout.paperText.top - layout.topLine.bottom - y0 - s(2);
    layout.nShrink = s(6);
    layout.nShadowStep = s(2);
    return layout;
}

PreviewBox PaperPictureBox(const PreviewLayout& layout, int x0, int x1, int nWidthMM, int nHeightMM, bool bLandscape)
{
    const int A = layout.nPictureHeight;
    if (A <= 0 || nWidthMM <= 0 || nHeightMM <= 0)
        return {0, 0, 0, 0};
    const float s = std::min(static_cast<float>(A) / static_cast<float>(nHeightMM), static_cast<float>(A) / 297.0f);
    const int pw = static_cast<int>(s * static_cast<float>(bLandscape ? nHeightMM : nWidthMM));
    const int ph = static_cast<int>(s * static_cast<float>(bLandscape ? nWidthMM : nHeightMM));
    const int left = ((x1 - x0 - 2 * layout.nEdge) - pw) / 2;
    const int top = (A - ph) / 2 + layout.nPictureTop;
    return {left, top, left + pw, top + ph};
}

PreviewBox PaperPictureBox(int x0, int y0, int x1, int y1, int nWidthMM, int nHeightMM, bool bLandscape)
{
    return PaperPictureBox(ComputePreviewLayout(x0, y0, x1, y1, kBaseDpi, 0), x0, x1, nWidthMM, nHeightMM,
                           bLandscape);
}
