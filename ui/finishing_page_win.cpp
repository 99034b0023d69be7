// Finishing page: creation, texts, the printer's lists, enabling, the choices and the
// preview, the Default button and dropped files.
#include "ui/finishing_page.h"

#include <shellapi.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "job/policy/policy_texts.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"

namespace {
constexpr wchar_t kSection[] = L"UI_FINISHING_TAB";

constexpr LabelText kFinishingLabels[] = {
    {IDC_STATIC_PAPERSOURCE, L"IDC_STATIC_PAPERSOURCE", L"Paper Sou&rce"},
    {IDC_STATIC_TRAY, L"IDC_STATIC_TRAY", L"&Tray"},
    {IDC_STATIC_OUTPUTBIN, L"IDC_STATIC_OUTPUTBIN", L"&Output bin"},
    {IDC_STATIC_FINISHING, L"IDC_STATIC_FINISHING", L"&Finishing"},
    {IDC_STATIC_STAPLE, L"IDC_STATIC_STAPLE", L"&Staple"},
    {IDC_STATIC_PUNCH, L"IDC_STATIC_PUNCH", L"P&unch"},
    {IDC_STATIC_FOLD, L"IDC_STATIC_FOLD", L"Fo&ld"},
    {IDC_STATIC_PINPRINT, L"IDC_STATIC_PINPRINT", L"PIN Printin&g"},
    {IDC_CHECK_PIN, L"IDC_CHECK_PIN", L"Hold the &job at the printer until its PIN is typed there"},
    {IDC_STATIC_PIN, L"IDC_STATIC_PIN", L"PI&N:"},
    {IDC_BUTTON_FIN_DEFAULT, L"IDC_BUTTON_FIN_DEFAULT", L"&Default"},
};

struct ListControl {
    int nCombo;
    int nLabel;
    TicketChoiceList FinishingLists::*pList;
    int FinishingEntries::*pnEntry;
};
constexpr ListControl kLists[] = {
    {IDC_COMBO_TRAY, IDC_STATIC_TRAY, &FinishingLists::trays, &FinishingEntries::nTray},
    {IDC_COMBO_OUTPUTBIN, IDC_STATIC_OUTPUTBIN, &FinishingLists::bins, &FinishingEntries::nBin},
    {IDC_COMBO_STAPLE, IDC_STATIC_STAPLE, &FinishingLists::staples, &FinishingEntries::nStaple},
    {IDC_COMBO_PUNCH, IDC_STATIC_PUNCH, &FinishingLists::punches, &FinishingEntries::nPunch},
    {IDC_COMBO_FOLD, IDC_STATIC_FOLD, &FinishingLists::folds, &FinishingEntries::nFold},
};

bool RequiresPin() { return GetParamMngr()->m_Policy.bRequirePin; }
}  // namespace

CFinishingPage::CFinishingPage() : COptionsPage(IDD_FINISHING, L"Finishing"), m_btnDefault(IDB_BUTTON_FACE, 4) {}

CFinishingPage::~CFinishingPage() = default;

BOOL CFinishingPage::OnInitDialog()
{
    DebugLog(L"CFinishingPage::OnInitDialog:");
    m_btnDefault.Attach(GetDlgItem(IDC_BUTTON_FIN_DEFAULT));
    m_preview.Attach(GetDlgItem(IDC_TICKET_PREVIEW));
    LoadLabelTexts(kSection, kFinishingLabels);
    m_editPin.Attach(GetDlgItem(IDC_EDIT_PIN), kMaxPinDigits);
    SetDefaultGuiFontOnChildren(m_hWnd);
    m_bInitialized = true;
    FillLists();
    return TRUE;
}

void CFinishingPage::SetOffer(const TicketOffer& offer, bool bChecking)
{
    m_offer = offer;
    m_bChecking = bChecking;
    m_lists = ListsOfOffer(m_offer);
    CParamMngr* pMngr = GetParamMngr();
    m_entries = EntriesOfOptions(m_lists, pMngr->m_CommandLineOptions, pMngr->m_Policy, m_offer);
    m_bPin = m_offer.nPinMaxDigits > 0 && (pMngr->m_CommandLineOptions.bPin || RequiresPin());
    DebugLog(L"CFinishingPage::SetOffer / %d trays, %d bins, %d finishings, PIN %d", int(m_offer.trays.size()),
             int(m_offer.bins.size()), int(m_offer.finishings.size()), m_offer.nPinMaxDigits);
    if (m_bInitialized)
        FillLists();
}

void CFinishingPage::FillLists()
{
    for (const ListControl& control : kLists) {
        HWND hCombo = GetDlgItem(control.nCombo);
        SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
        for (const std::wstring& strName : (m_lists.*control.pList).arrNames)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
        SendMessageW(hCombo, CB_SETCURSEL, m_entries.*control.pnEntry, 0);
    }
    CheckDlgButton(m_hWnd, IDC_CHECK_PIN, m_bPin ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(m_hWnd, IDC_EDIT_PIN, L"");
    m_editPin.SetRangeTip(LabelTitle(kSection, L"IDC_STATIC_PIN", L"PI&N:"),
                          TicketRefusalText({TicketFault::BadPin, L"/pin", {}, std::to_wstring(m_offer.nPinMaxDigits)},
                                            L""));
    SendMessageW(GetDlgItem(IDC_EDIT_PIN), EM_LIMITTEXT, std::max(m_offer.nPinMaxDigits, 1), 0);
    ShowEnabling();
    RefreshPreview();
}

void CFinishingPage::ShowEnabling()
{
    if (IsLockedForRun())
        return;
    for (const ListControl& control : kLists) {
        const bool bChoice = !m_bChecking && (m_lists.*control.pList).arrNames.size() > 1;
        EnableWindow(GetDlgItem(control.nCombo), bChoice);
        EnableWindow(GetDlgItem(control.nLabel), bChoice);
    }
    const bool bPinOffered = !m_bChecking && m_offer.nPinMaxDigits > 0;
    // Required by the administrator: the box stays ticked and its group says who set it.
    EnableWindow(GetDlgItem(IDC_CHECK_PIN), bPinOffered && !RequiresPin());
    EnableWindow(GetDlgItem(IDC_EDIT_PIN), bPinOffered && m_bPin);
    EnableWindow(GetDlgItem(IDC_STATIC_PIN), bPinOffered && m_bPin);
    const std::wstring strGroup = GetUIText(kSection, L"IDC_STATIC_PINPRINT", L"PIN Printin&g");
    SetDlgItemTextW(m_hWnd, IDC_STATIC_PINPRINT, (RequiresPin() ? LockedGroupCaption(strGroup) : strGroup).c_str());
    std::wstring strNote;
    if (!m_bChecking && !m_offer.Any())
        strNote = GetUIText(kSection, L"IDL_NOTE_NONE",
                            L"This printer offers no tray, output bin, finishing or PIN printing to choose.");
    else if (!m_bChecking && m_offer.road == TicketRoad::Spooler)
        strNote = GetUIText(kSection, L"IDL_NOTE_SPOOLER",
                            L"Through the print queue only a tray and an output bin can be chosen; finishing and PIN "
                            L"printing need IPP.");
    SetDlgItemTextW(m_hWnd, IDC_STATIC_TICKET_NOTE, strNote.c_str());
}

bool CFinishingPage::OnCommand(int nId, int nCode)
{
    if (nCode == CBN_SELCHANGE) {
        OnSelchange();
        return true;
    }
    using Page = CFinishingPage;
    static constexpr CommandRoute<Page> kRoutes[] = {
        {IDC_CHECK_PIN, BN_CLICKED, &Page::OnClickedPin},
        {IDC_BUTTON_FIN_DEFAULT, BN_CLICKED, &Page::OnClickedDefault},
    };
    return RouteCommand(*this, kRoutes, nId, nCode);
}

void CFinishingPage::OnSelchange()
{
    for (const ListControl& control : kLists) {
        const auto nEntry = static_cast<int>(SendMessageW(GetDlgItem(control.nCombo), CB_GETCURSEL, 0, 0));
        m_entries.*control.pnEntry = nEntry < 0 ? 0 : nEntry;
    }
    RefreshPreview();
}

void CFinishingPage::OnClickedPin()
{
    m_bPin = RequiresPin() || IsDlgButtonChecked(m_hWnd, IDC_CHECK_PIN) == BST_CHECKED;
    ShowEnabling();
    RefreshPreview();
    if (m_bPin)
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_EDIT_PIN)), TRUE);
}

void CFinishingPage::OnClickedDefault()
{
    // The policies' defaults, without the command line's presets.
    const CParamMngr* pMngr = GetParamMngr();
    m_entries = EntriesOfOptions(m_lists, JobOptions(), pMngr->m_Policy, m_offer);
    m_bPin = m_offer.nPinMaxDigits > 0 && RequiresPin();
    FillLists();
}

void CFinishingPage::RefreshPreview() { m_preview.Show(TicketPreviewTexts(m_lists, m_entries, PinWanted())); }

bool CFinishingPage::PinWanted() const { return m_bPin || RequiresPin(); }

LRESULT CFinishingPage::OnSetActive()
{
    DebugLog(L"CFinishingPage : OnSetActive");
    RefreshPreview();
    return 0;
}

LRESULT CFinishingPage::OnApply() { return PSNRET_INVALID_NOCHANGEPAGE; }

void CFinishingPage::OnDropFiles(HDROP hDrop)
{
    HWND hTarget = m_dropTarget ? m_dropTarget() : nullptr;
    if (hTarget && ::IsWindow(hTarget)) {
        SendMessageW(hTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
        return;
    }
    DragFinish(hDrop);
}
