#include "ui/advanced_opts_text.h"

#include "common/ui_text.h"
#include "common/user_language.h"
#include "common/wide_format.h"

std::vector<std::wstring> PaperSizeListItems(CParamMngr& mngr, int nPrimaryLanguage)
{
    const bool bInches = nPrimaryLanguage == kLangEnglish;
    const std::wstring strUnit = bInches ? GetUIText(L"UNIT", L"IDC_UNIT_INCH", L"Inches")
                                         : GetUIText(L"UNIT", L"IDC_UNIT_MM", L"mm");
    // The list is filled by making each row current; the user's choice stays.
    const int nSaved = mngr.m_JobSettings.m_nPaperSize;
    std::vector<std::wstring> arrItems;
    for (int i = 0; i < kPaperSizeCount; ++i) {
        mngr.SetPaperSize(i);
        const std::wstring strName = mngr.GetPaperSizeName();
        if (i == 0)
            arrItems.push_back(FormatWide(kTextChars, L"%s", strName.c_str()));
        else if (bInches)
            arrItems.push_back(FormatWide(kTextChars, L"%s (%.2f x %.2f %s)", strName.c_str(),
                                          mngr.GetPaperWidthInch(), mngr.GetPaperHeightInch(), strUnit.c_str()));
        else
            arrItems.push_back(FormatWide(kTextChars, L"%s (%d * %d %s)", strName.c_str(),
                                          static_cast<int>(mngr.GetPaperWidthMM()),
                                          static_cast<int>(mngr.GetPaperHeightMM()), strUnit.c_str()));
    }
    mngr.m_JobSettings.m_nPaperSize = nSaved;
    return arrItems;
}

std::vector<std::wstring> PaperTypeListItems(CParamMngr& mngr)
{
    const int nSaved = mngr.m_JobSettings.m_nPaperType;
    std::vector<std::wstring> arrItems;
    for (int i = 0; i < kPaperTypeCount; ++i) {
        mngr.SetPaperType(i);
        arrItems.push_back(mngr.GetPaperTypeName());
    }
    mngr.m_JobSettings.m_nPaperType = nSaved;
    return arrItems;
}

std::wstring DoubleAmpersands(const std::wstring& strText)
{
    std::wstring strResult;
    strResult.reserve(strText.size() + 4);
    for (wchar_t ch : strText) {
        strResult += ch;
        if (ch == L'&')
            strResult += L'&';
    }
    return strResult;
}
