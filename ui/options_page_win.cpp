#include "ui/options_page.h"

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "resources/resource.h"

COptionsPage::COptionsPage(UINT nTemplateId, const wchar_t* pszLogName)
    : CPropertyPageImpl(nTemplateId, pszLogName), CGradientBkgndT(IDB_PAGE_BKGND, 1)
{
}

bool COptionsPage::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (OnCommand(CommandId(wParam), CommandCode(wParam))) {
            lResult = 0;
            return true;
        }
        break;
    case WM_TIMER:
        OnTimer(wParam);
        lResult = 0;
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        lResult = 0;
        return true;
    default:
        break;
    }
    if (CPropertyPageImpl::HandleMessage(uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}

void COptionsPage::LoadLabelTexts(const wchar_t* pszSection, std::span<const LabelText> labels)
{
    DebugLog(L"LoadLocalizedString / FileName / %s", g_szUIFileName);
    for (const LabelText& label : labels)
        SetDlgItemTextW(m_hWnd, label.nId, GetUIText(pszSection, label.key, label.defaultText).c_str());
}
