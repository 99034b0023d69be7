// Advanced page: the options an administrator has locked. Their controls are disabled and
// their group says so; whatever reaches the settings otherwise is put back.
#include "ui/advanced_opts_page.h"

#include "common/ui_text.h"
#include "job/policy/policy_texts.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"

namespace {
struct LockedGroup {
    bool JobPolicy::*pbLocked;
    int nGroupId;
    const wchar_t* key;
    const wchar_t* defaultText;
    int arrControls[3];
};

constexpr LockedGroup kLockedGroups[] = {
    {&JobPolicy::bLockPaper, IDC_STATIC_PAPAEROPTION, L"IDC_STATIC_PAPAEROPTION", L"Paper Option",
     {IDC_COMBO_PAPERSIZE, IDC_COMBO_PAPERTYPE}},
    {&JobPolicy::bLockDuplex, IDC_STATIC_DUPLEX, L"IDC_STATIC_DUPLEX", L"Double-Sided Printing",
     {IDC_RADIO_DUPLEX_NONE, IDC_RADIO_DUPLEX_LONG, IDC_RADIO_DUPLEX_SHORT}},
    {&JobPolicy::bLockColor, IDC_STATIC_COLORMODE, L"IDC_STATIC_COLORMODE", L"Color",
     {IDC_RADIO_COLORMODE_AUTO, IDC_RADIO_COLORMODE_BW}},
};
}  // namespace

void CAdvancedOptsPage::ShowLocks()
{
    const JobPolicy& policy = GetParamMngr()->m_Policy;
    for (const LockedGroup& group : kLockedGroups) {
        if (!(policy.*group.pbLocked))
            continue;
        for (int nId : group.arrControls)
            if (nId)
                EnableWindow(GetDlgItem(nId), FALSE);
        const std::wstring strCaption = GetUIText(L"UI_ADVANCED_TAB", group.key, group.defaultText);
        SetDlgItemTextW(m_hWnd, group.nGroupId, LockedGroupCaption(strCaption).c_str());
    }
}

void CAdvancedOptsPage::KeepLocks()
{
    CParamMngr* pMngr = GetParamMngr();
    if (!pMngr->EnforceLocks())
        return;
    JobSettings& js = pMngr->m_JobSettings;
    DDX_Radio(m_hWnd, IDC_RADIO_COLORMODE_AUTO, js.m_nColorMode, DdxDirection::Load);
    DDX_Radio(m_hWnd, IDC_RADIO_DUPLEX_NONE, js.m_nDuplex, DdxDirection::Load);
    SendMessageW(m_hComboPaperSize, CB_SETCURSEL, js.m_nPaperSize, 0);
    SendMessageW(m_hComboPaperType, CB_SETCURSEL, js.m_nPaperType, 0);
}
