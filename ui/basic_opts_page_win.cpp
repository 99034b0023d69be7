// Basic page: creation, texts, defaults, printer choice, timers and the sheet's notifications.
#include "ui/basic_opts_page.h"

#include <shellapi.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/admission.h"
#include "files/admit_files.h"
#include "files/command_line.h"
#include "files/file_list.h"
#include "files/shell_files.h"
#include "files/user_messages.h"
#include "job/settings/param_mngr.h"
#include "printer/state/port_kind.h"
#include "printer/state/printer_state_text.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"
#include "ui/printer_check.h"
#include "ui/sheet_status.h"
#include "ui/sign_in_ask.h"
#include "ui/state_indicator.h"
#include "ui/system_dpi.h"

namespace {
constexpr LabelText kBasicLabels[] = {
    {IDC_STATIC_SELECTPRINTER, L"IDC_STATIC_SELECTPRINTER", L"Select Printer"},
    {IDC_STATIC_SELECTFILES, L"IDC_STATIC_SELECTFILES", L"Select Files"},
    {IDC_BUTTON_REMOVE, L"IDC_BUTTON_REMOVE", L"Remove"},
    {IDC_BUTTON_BROWSE, L"IDC_BUTTON_BROWSE", L"Browse"},
    {IDC_STATIC_PRINTRANGE, L"IDC_STATIC_PRINTRANGE", L"Print Range"},
    {IDC_RADIO_PRINTRANGE_ALL, L"IDC_RADIO_PRINTRANGE_ALL", L"All"},
    {IDC_RADIO_PRINTRANGE_PAGES, L"IDC_RADIO_PRINTRANGE_PAGES", L"Pages"},
    {IDC_STATIC_PRINTRANGE_FROM, L"IDC_STATIC_PRINTRANGE_FROM", L"From :"},
    {IDC_STATIC_PRINTRANGE_TO, L"IDC_STATIC_PRINTRANGE_TO", L"To :"},
    {IDC_STATIC_COPIES, L"IDC_STATIC_COPIES", L"Copies"},
    {IDC_STATIC_ORIENTATION, L"IDC_STATIC_ORIENTATION", L"Orientation"},
    {IDC_RADIO_ORIENTATION_PORTRAIT, L"IDC_RADIO_ORIENTATION_PORTRAIT", L"Portrait"},
    {IDC_RADIO_ORIENTATION_LANDSCAPE, L"IDC_RADIO_ORIENTATION_LANDSCAPE", L"Landscape"},
    {IDC_BUTTON_DEFAULT, L"IDC_BUTTON_DEFAULT", L"Default"},
};

std::wstring Trim(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}
}  // namespace

CBasicOptsPage::CBasicOptsPage()
    : COptionsPage(IDD_BASIC, L"Basic"),
      m_btnDefault(IDB_BUTTON_FACE, 4),
      m_btnRemove(IDB_BUTTON_FACE, 4),
      m_btnBrowse(IDB_BUTTON_FACE, 4)
{
}

int CBasicOptsPage::CheckSupportedTypes() { return ::CheckSupportedTypes(m_PrtControl); }

void CBasicOptsPage::ShowErrorMessage(int nCode) { ShowUserMessage(m_hWnd, nCode); }

void CBasicOptsPage::ShowPrintButton(bool bShow)
{
    HWND hPrint = ::GetDlgItem(GetSheet(), IDOK);
    if (!hPrint)
        return;
    // A hidden default button still answers Enter through the dialog manager; a
    // disabled one does not.
    EnableWindow(hPrint, bShow);
    // Print keeps its place: disabled, it says there is nothing to print on yet.
    ShowWindow(hPrint, SW_SHOW);
}

int CBasicOptsPage::FileCount() const { return m_hList ? ListView_GetItemCount(m_hList) : 0; }

void CBasicOptsPage::AttachSpin()
{
    if (!m_spinCopies.m_hWnd)
        m_spinCopies.SubclassWindow(GetDlgItem(IDC_SPIN_COPIES));
}

bool CBasicOptsPage::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (uMsg == kMsgStateRead) {
        OnStateRead();
        lResult = 0;
        return true;
    }
    if (uMsg == kMsgSignInAsked) {
        AnswerSignInQuestion(GetSheet());
        lResult = 0;
        return true;
    }
    if (uMsg == WM_DESTROY)
        StopAskingSignIns();
    if (uMsg == kMsgPrinterChecked || uMsg == kMsgFilesAdmitted) {
        if (uMsg == kMsgPrinterChecked)
            OnPrinterChecked();
        else
            OnFilesAdmitted();
        lResult = 0;
        return true;
    }
    if (uMsg == WM_NOTIFY) {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr->idFrom == IDC_LIST_FILE && pHdr->code == NM_CUSTOMDRAW) {
            lResult = OnCustomdrawList(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            return true;
        }
        // Delete removes the selected files, Ctrl+A selects them all, as in Explorer.
        if (pHdr->idFrom == IDC_LIST_FILE && pHdr->code == LVN_KEYDOWN) {
            const WORD wKey = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
            if (wKey == VK_DELETE)
                OnClickedButtonRemove();
            else if (wKey == 'A' && GetKeyState(VK_CONTROL) < 0)
                ListView_SetItemState(m_hList, -1, LVIS_SELECTED, LVIS_SELECTED);
        }
        // Reached with the keyboard, the list shows which row the arrow keys start from.
        if (pHdr->idFrom == IDC_LIST_FILE && pHdr->code == NM_SETFOCUS && FileCount() > 0 &&
            ListView_GetNextItem(m_hList, -1, LVNI_FOCUSED) < 0)
            ListView_SetItemState(m_hList, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    return COptionsPage::HandleMessage(uMsg, wParam, lParam, lResult);
}

bool CBasicOptsPage::OnCommand(int nId, int nCode)
{
    using Page = CBasicOptsPage;
    static constexpr CommandRoute<Page> kRoutes[] = {
        {IDC_BUTTON_DEFAULT, BN_CLICKED, &Page::OnClickedButtonDefault},
        {IDC_BUTTON_REMOVE, BN_CLICKED, &Page::OnClickedButtonRemove},
        {IDC_BUTTON_BROWSE, BN_CLICKED, &Page::OnClickedButtonBrowse},
        {IDC_RADIO_PRINTRANGE_ALL, BN_CLICKED, &Page::OnClickedPrintRange},
        {IDC_RADIO_PRINTRANGE_PAGES, BN_CLICKED, &Page::OnClickedPrintRange},
        {IDC_COMBO_PRINTERLIST, CBN_SELCHANGE, &Page::OnSelchangeComboPrinterlist},
        {IDC_COMBO_PRINTERLIST, CBN_SELENDOK, &Page::OnSelendokComboPrinterlist},
        {IDC_COMBO_PRINTERLIST, CBN_DROPDOWN, &Page::OnDropdownComboPrinterlist},
        {IDC_COMBO_PRINTERLIST, CBN_SELENDCANCEL, &Page::OnSelendcancelComboPrinterlist},
        {IDC_EDIT_COPIES, EN_CHANGE, &Page::OnChangeEdit},
        {IDC_EDIT_FROM, EN_CHANGE, &Page::OnChangeEdit},
        {IDC_EDIT_TO, EN_CHANGE, &Page::OnChangeEdit},
        {IDC_EDIT_COPIES, EN_KILLFOCUS, &Page::OnKillFocusCopies},
        {IDC_EDIT_FROM, EN_KILLFOCUS, &Page::OnKillFocusFrom},
        {IDC_EDIT_TO, EN_KILLFOCUS, &Page::OnKillFocusTo},
    };
    return RouteCommand(*this, kRoutes, nId, nCode);
}

BOOL CBasicOptsPage::OnInitDialog()
{
    DebugLog(L"CBasicOptsPage::OnInitDialog:");
    m_btnDefault.Attach(GetDlgItem(IDC_BUTTON_DEFAULT));
    m_btnRemove.Attach(GetDlgItem(IDC_BUTTON_REMOVE));
    m_btnBrowse.Attach(GetDlgItem(IDC_BUTTON_BROWSE));

    // The orientation choice is part of the layout but not offered.
    ShowWindow(GetDlgItem(IDC_STATIC_ORIENTATION), SW_HIDE);
    ShowWindow(GetDlgItem(IDC_RADIO_ORIENTATION_PORTRAIT), SW_HIDE);
    ShowWindow(GetDlgItem(IDC_RADIO_ORIENTATION_LANDSCAPE), SW_HIDE);
    ShowWindow(GetDlgItem(IDC_PICTURE_ORIENTATION), SW_HIDE);

    m_hComboPrinter = GetDlgItem(IDC_COMBO_PRINTERLIST);
    m_hPictureOrientation = GetDlgItem(IDC_PICTURE_ORIENTATION);
    m_hList = GetDlgItem(IDC_LIST_FILE);
    m_listFile.Attach(m_hList);
    ListView_SetTextBkColor(m_hList, RGB(255, 255, 255));
    ListView_SetTextColor(m_hList, RGB(100, 100, 100));
    m_preview.Attach(GetDlgItem(IDC_INFO_PREVIEW_BASIC));
    m_editCopies.Attach(GetDlgItem(IDC_EDIT_COPIES), 2);
    m_editFrom.Attach(GetDlgItem(IDC_EDIT_FROM), 4);
    m_editTo.Attach(GetDlgItem(IDC_EDIT_TO), 4);
    m_editCopies.SetRangeTip(LabelTitle(L"UI_BASIC_TAB", L"IDC_STATIC_COPIES", L"Copies"), RangeTipText(1, 99));
    const std::wstring strRange = LabelTitle(L"UI_BASIC_TAB", L"IDC_STATIC_PRINTRANGE", L"Print Range");
    m_editFrom.SetRangeTip(strRange, RangeTipText(1, 9999));
    m_editTo.SetRangeTip(strRange, RangeTipText(1, 9999));

    ParseCommandLine(m_strCmdLine, m_arrCmdFiles, m_strCmdPrinter);
    for (const std::wstring& strPath : m_arrCmdFiles)
        m_arrWaitingFiles.push_back({strPath, false});
    LoadBasicTexts();
    ApplyBasicDefaults();
    AttachSpin();
    ExchangeBasic(DdxDirection::Load);
    GetSystemImageList(m_hList, L"*.txt");
    SendMessageW(GetSheet(), WM_APP, 0, 0);
    m_spinCopies.SetRange(1, 99);
    ShowCommandLineOptions();
    AskSignInsOver(m_hWnd);
    DebugLog(L"CBasicOptsPage::OnInitDialog End");
    m_bInitialized = true;

    SetDefaultGuiFontOnChildren(m_hWnd);
    RECT rcList;
    GetWindowRect(m_hList, &rcList);
    const std::wstring strColumn = GetUIText(L"UI_BASIC_TAB", L"IDC_LIST_FILE", L"File Name");
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(strColumn.c_str());
    column.cx = (rcList.right - rcList.left) - ScaleToDpi(5, SystemDpi());
    SendMessageW(m_hList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ListView_SetExtendedListViewStyle(m_hList, LVS_EX_FULLROWSELECT);

    // The check may have answered before the page was complete.
    if (!IsCheckingPrinter()) {
        QueueWaitingFiles();
        StartNextAdmission();
    }
    ShowWindow(GetDlgItem(IDC_PICTURE_BASIC_LOGO), SW_HIDE);
    return TRUE;
}

void CBasicOptsPage::LoadBasicTexts()
{
    LoadLabelTexts(L"UI_BASIC_TAB", kBasicLabels);
}

void CBasicOptsPage::ApplyBasicDefaults()
{
    GetParamMngr()->SetBasicDefaults();
    m_PrtControl.SetCurrentIndex(m_PrtControl.GetDefaultPrinterIndex());
    if (!m_strPolicyPrinter.empty() && !m_PrtControl.SelectPrinter(m_strPolicyPrinter))
        DebugLog(L"ApplyBasicDefaults : the policy's printer %s is not installed", m_strPolicyPrinter.c_str());
    FillPrinterList();
    AttachSpin();
    ExchangeBasic(DdxDirection::Load);
    SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RADIO_PRINTRANGE_ALL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(IDC_RADIO_PRINTRANGE_ALL)));
}

void CBasicOptsPage::FillPrinterList()
{
    EnableWindow(m_hComboPrinter, TRUE);
    SendMessageW(m_hComboPrinter, CB_RESETCONTENT, 0, 0);
    const int nPrinters = m_PrtControl.GetPrinterCount();
    const int nEntries = FileCount();
    if (nPrinters <= 0) {
        // A check still running is for a printer that is gone from the list.
        m_checkWorker.Finish();
        m_stateTarget.reset();
        m_stateView.reset();
        m_stateWorker.Finish();
        KillTimer(m_hWnd, kTimerStatePoll);
        SetSheetStatus(GetSheet(), L"");
        HideStateIndicator(GetSheet());
        nSupportedTypes = -2;
        ShowPrintButton(false);
        EnableWindow(m_hComboPrinter, FALSE);
        EnableItem(IDC_BUTTON_BROWSE, false);
        EnableRemoveForEntries(nEntries);
        SetTimer(m_hWnd, kTimerNoPrinter, 2000, nullptr);
        StartNextAdmission();
        return;
    }
    for (int i = 0; i < nPrinters; ++i) {
        const std::wstring strName = Trim(m_PrtControl.GetPrinterDisplayName(i));
        SendMessageW(m_hComboPrinter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strName.c_str()));
    }
    if (!m_strCmdPrinter.empty())
        m_PrtControl.SetCurrentPrinter(m_strCmdPrinter);
    SendMessageW(m_hComboPrinter, CB_SETCURSEL, m_PrtControl.GetCurrentIndex(), 0);
    EnableWindow(m_hComboPrinter, TRUE);
    StartPrinterCheck(1300, true);
    EnableRemoveForEntries(nEntries);
}

void CBasicOptsPage::OnSelchangeComboPrinterlist()
{
    const int nIndex = static_cast<int>(SendMessageW(m_hComboPrinter, CB_GETCURSEL, 0, 0));
    m_PrtControl.SetCurrentIndex(nIndex);
    // Arrowed through the closed list, the printer the user stops on speaks, not those passed.
    const bool bArrowed = !SendMessageW(m_hComboPrinter, CB_GETDROPPEDSTATE, 0, 0);
    StartPrinterCheck(bArrowed ? 1500 : 500, true);
}

void CBasicOptsPage::OnSelendokComboPrinterlist()
{
    // The printer chosen again from the opened list is asked again, as with F5; a new one
    // is already being checked. Enter on the closed list is the sheet's Print.
    const bool bFromOpenedList = m_bPrinterListOpened;
    m_bPrinterListOpened = false;
    const int nIndex = static_cast<int>(SendMessageW(m_hComboPrinter, CB_GETCURSEL, 0, 0));
    if (bFromOpenedList && nIndex == m_PrtControl.GetCurrentIndex())
        Recheck();
}

std::wstring CBasicOptsPage::CurrentPrinterName() const { return m_PrtControl.GetCurrentPrinterName(); }

void CBasicOptsPage::StartPrinterCheck(UINT nMessageDelayMs, bool bRemoveRefused)
{
    m_nCheckMessageDelayMs = nMessageDelayMs;
    m_bCheckRemovesRefused = bRemoveRefused;
    // A message of the printer before waits no more: the answer decides anew.
    KillTimer(m_hWnd, kTimerNoSupport);
    KillTimer(m_hWnd, kTimerBusyOrOff);
    HWND hPrint = ::GetDlgItem(GetSheet(), IDOK);
    EnableWindow(hPrint, FALSE);
    EnableItem(IDC_BUTTON_BROWSE, false);
    m_stateTarget.reset();
    m_stateView.reset();
    m_stateWorker.Finish();
    m_safety = IppSafetyFacts();
    m_strCertificateLine.clear();
    // The user asks anew: a printer whose sign-in was cancelled may ask again.
    ForgetDeclinedSignIns();
    if (m_fnOfferChanged)
        m_fnOfferChanged(TicketOffer(), true);
    KillTimer(m_hWnd, kTimerStatePoll);
    HideStateIndicator(GetSheet());
    SetSheetStatus(GetSheet(), GetUIText(L"UI_PRINT_RUN", L"IDL_STATUS_CHECKING", L"Checking the printer\x2026"));

    // Files being checked for the printer before wait to be checked for this one.
    if (IsAdmittingFiles()) {
        m_admitWorker.Finish();
        m_arrFileBatches.push_front(std::move(m_batchAdmitting));
    }
    // The listed files are checked again on the worker, for the new printer's types.
    std::vector<std::wstring> arrListed;
    if (bRemoveRefused)
        CollectFileEntries(m_hList, arrListed, false);
    m_checkWorker.SetWindow(m_hWnd);
    const std::wstring strPrinter = CurrentPrinterName();
    const bool bStarted = m_checkWorker.Start(
        [strPrinter, arrListed](const CWorker::Link& link) {
            auto pReport = std::make_unique<PrinterCheckReport>(CheckPrinterByName(strPrinter));
            if (pReport->nSupportedTypes > 0)
                pReport->arrRefusedListed = RefusedListedFiles(arrListed, pReport->nSupportedTypes);
            link.Post(kMsgPrinterChecked, std::move(pReport));
        },
        [](const CWorker::Link& link) { link.Post(kMsgPrinterChecked, std::make_unique<PrinterCheckReport>()); });
    if (!bStarted) {
        if (m_fnOfferChanged)
            m_fnOfferChanged(TicketOffer(), false);
        const int nResult = CheckSupportedTypes();
        ApplyCheckResult(nResult, nResult > 0 ? RefusedListedFiles(arrListed, nResult) : std::vector<RefusedFile>());
    }
}

void CBasicOptsPage::OnPrinterChecked()
{
    // Only the current check's answer is taken: one for a printer chosen before is of no use.
    const std::unique_ptr<PrinterCheckReport> pReport = m_checkWorker.TakeReport<PrinterCheckReport>(kMsgPrinterChecked);
    if (!pReport)
        return;
    m_checkWorker.Finish();
    m_stateTarget = pReport->stateTarget;
    m_bNotSnmp = pReport->bNotSnmp;
    m_strIppReason = pReport->strIppReason;
    m_safety = pReport->nSupportedTypes == -1 ? pReport->safety : IppSafetyFacts();
    m_strPinName = pReport->pinName;
    m_strCertificateLine = pReport->certificate ? CertificateLine(*pReport->certificate) : std::wstring();
    // An agent that answers without the printer's objects tells no state.
    const PrinterState& state = pReport->state;
    if (m_stateTarget) {
        m_stateView = ViewOfState(state);
        if (m_stateView->severity == StateSeverity::Unknown)
            m_stateView->strLine.clear();
    }
    if (m_fnOfferChanged)
        m_fnOfferChanged(pReport->nSupportedTypes > 0 ? state.offer : TicketOffer(), false);
    ApplyCheckResult(pReport->nSupportedTypes, pReport->arrRefusedListed);
}

void CBasicOptsPage::ApplyCheckResult(int nResult, const std::vector<RefusedFile>& arrRefusedListed)
{
    nSupportedTypes = nResult;
    ShowPrinterStateNow();
    const int nEntries = FileCount();
    if (nSupportedTypes == -1) {
        SetTimer(m_hWnd, kTimerBusyOrOff, m_nCheckMessageDelayMs, nullptr);
        DebugLog(L"OnSelchangeComboPrinterlist / No support(Busy)");
        ShowPrintButton(false);
        EnableItem(IDC_BUTTON_BROWSE, false);
    } else if (nSupportedTypes == 0) {
        SetTimer(m_hWnd, kTimerNoSupport, m_nCheckMessageDelayMs, nullptr);
        DebugLog(L"OnSelchangeComboPrinterlist / No support");
        ShowPrintButton(false);
        EnableItem(IDC_BUTTON_BROWSE, false);
    } else {
        ShowPrintButton(true);
        EnableItem(IDC_BUTTON_BROWSE, true);
    }
    EnableRemoveForEntries(nEntries);

    // The files waiting for a printer are checked for this one, and drops wait for its answer.
    if (m_bInitialized)
        QueueWaitingFiles();
    if (nSupportedTypes > 0 && m_bCheckRemovesRefused)
        TakeOffList(arrRefusedListed);
    StartNextAdmission();
    ArmStatePoll();
}

void CBasicOptsPage::OnTimer(UINT_PTR nId)
{
    if (nId == kTimerStatePoll) {
        ReadStateNow();
        return;
    }
    int nCode = 0;
    if (nId == kTimerNoPrinter)
        nCode = 3;
    else if (nId == kTimerNoSupport)
        nCode = 2;
    else if (nId == kTimerBusyOrOff)
        nCode = 4;
    if (!nCode)
        return;
    KillTimer(m_hWnd, nId);
    // The files given are not lost: they wait for a printer that takes them, or for this
    // one to answer.
    const bool bNetwork =
        ClassifyPort(m_PrtControl.GetPrinterPortName(m_PrtControl.GetCurrentIndex())) == PortKind::Network;
    const std::wstring strNote =
        m_arrWaitingFiles.empty() ? L"" : nCode == 4 ? FilesWaitAnswerNote() : FilesWaitNote();
    if (nCode == 4 && m_safety.safety != IppSafety::Safe) {
        TellUnsafePrinter(strNote);
        return;
    }
    ShowListedMessage(m_hWnd, nCode == 4 && bNetwork ? NetworkNoAnswerText() : GetUserMessageText(nCode), {}, strNote);
}

void CBasicOptsPage::OnClickedButtonDefault()
{
    m_strCmdPrinter.clear();
    ApplyBasicDefaults();
}

LRESULT CBasicOptsPage::OnSetActive()
{
    DebugLog(L"CBasicOptsPage : OnSetActive");
    ExchangeBasic(DdxDirection::Save);
    return 0;
}

LRESULT CBasicOptsPage::OnApply()
{
    DebugLog(L"CBasicOptsPage::OnApply()");
    return PSNRET_INVALID_NOCHANGEPAGE;
}

LRESULT CBasicOptsPage::OnCustomdrawList(NMLVCUSTOMDRAW* pDraw)
{
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const int nItem = static_cast<int>(pDraw->nmcd.dwItemSpec);
        const UINT uState = ListView_GetItemState(m_hList, nItem, LVIS_SELECTED);
        pDraw->clrText = RGB(0, 0, 0);
        if (uState & LVIS_SELECTED) {
            pDraw->clrTextBk = RGB(164, 212, 255);
            DebugLog(L"OnCustomdrawList / LVIS_SELECTED / nItem : %d", nItem);
            DebugLog(L"OnCustomdrawList / LVIS_SELECTED / rItem.state : %d", static_cast<int>(uState));
            // Our colours, not the system highlight; the focus cue stays the system's, shown
            // once the keyboard is used.
            pDraw->nmcd.uItemState &= ~CDIS_SELECTED;
        } else {
            pDraw->clrTextBk = (nItem % 2 == 0) ? RGB(238, 238, 238) : RGB(255, 255, 255);
        }
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}
