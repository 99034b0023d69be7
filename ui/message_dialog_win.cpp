#include "ui/message_dialog.h"

#include <algorithm>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/user_messages.h"
#include "job/outcome/print_summary.h"
#include "resources/resource.h"
#include "ui/gdi_helpers.h"

CCommonMessageDialog::CCommonMessageDialog(std::wstring strText, std::wstring strCaption, LPCWSTR pszIconId)
    : CDialogImpl(IDD_MESSAGE),
      CFrameDlgT(IDB_FRAME_ACTIVE, IDB_FRAME_INACTIVE, 0, 0, 0),
      CGradientBkgndT(IDB_PAGE_BKGND, 0),
      m_strText(std::move(strText)),
      m_strCaption(std::move(strCaption)),
      m_hIcon(LoadIconW(nullptr, pszIconId)),
      m_btnOK(IDB_BUTTON_FACE, 4)
{
}

bool CCommonMessageDialog::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        lResult = OnInitDialog();
        return true;
    case WM_COMMAND:
        // OK, and Escape (the hidden Cancel), close the box with 1; a question tells them apart.
        if (CommandId(wParam) == IDOK || CommandId(wParam) == IDCANCEL) {
            EndDialog(m_bQuestion ? AnsweredButton(CommandId(wParam)) : IDOK);
            lResult = 0;
            return true;
        }
        break;
    default:
        break;
    }
    if (ProcessFrameMessage(m_hWnd, uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}

int AnsweredButton(int nId)
{
    if (GetKeyState(VK_RETURN) < 0) {
        const int nFocus = GetDlgCtrlID(GetFocus());
        if (nFocus == IDOK || nFocus == IDCANCEL)
            return nFocus;
    }
    return nId;
}

bool CCommonMessageDialog::OnInitDialog()
{
    AttachFrame(m_hWnd);
    CenterOverOwner(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
    m_icon.SetIcon(m_hIcon);
    m_icon.SubclassWindow(GetDlgItem(IDC_MESSAGE_ICON));
    HWND hText = GetDlgItem(IDC_MESSAGE_TEXT);
    SendMessageW(hText, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowTextW(hText, m_strText.c_str());
    SetWindowTextW(m_hWnd, m_strCaption.c_str());
    DebugLog(L"LoadLocalizedString / FileName / %s", g_szUIFileName);
    HWND hOK = GetDlgItem(IDOK);
    SetWindowTextW(hOK, GetUIText(L"UI_SHEET", L"IDL_OK", L"OK").c_str());
    SendMessageW(hOK, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    m_btnOK.Attach(hOK);
    if (m_bKeepLines)
        FitTextWidth();
    FitTextHeight();
    CenterOverOwner(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
    return true;
}

void CCommonMessageDialog::FitTextWidth()
{
    HWND hText = GetDlgItem(IDC_MESSAGE_TEXT);
    const RECT rcText = ChildRect(m_hWnd, hText);
    RECT rcNeeded = {};
    HDC hdc = GetDC(hText);
    {
        CSelectObject font(hdc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(hdc, m_strText.c_str(), -1, &rcNeeded, DT_CALCRECT | DT_NOPREFIX);
    }
    ReleaseDC(hText, hdc);
    const int nGrow = rcNeeded.right - (rcText.right - rcText.left);
    if (nGrow <= 0)
        return;
    RECT rcWork = {}, rcBox = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    GetWindowRect(m_hWnd, &rcBox);
    const int nBy = std::min(nGrow, std::max<int>((rcWork.right - rcWork.left) - (rcBox.right - rcBox.left), 0));
    SetWindowPos(hText, nullptr, 0, 0, rcText.right - rcText.left + nBy, rcText.bottom - rcText.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int nId : {IDOK, IDCANCEL}) {
        HWND hButton = GetDlgItem(nId);
        const RECT rc = ChildRect(m_hWnd, hButton);
        SetWindowPos(hButton, nullptr, rc.left + nBy / 2, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcBox.right - rcBox.left + nBy, rcBox.bottom - rcBox.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCommonMessageDialog::FitTextHeight()
{
    HWND hText = GetDlgItem(IDC_MESSAGE_TEXT);
    const RECT rcText = ChildRect(m_hWnd, hText);
    RECT rcNeeded = {0, 0, rcText.right - rcText.left, 0};
    HDC hdc = GetDC(hText);
    {
        CSelectObject font(hdc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(hdc, m_strText.c_str(), -1, &rcNeeded, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    ReleaseDC(hText, hdc);
    const int nGrow = rcNeeded.bottom - (rcText.bottom - rcText.top);
    if (nGrow <= 0)
        return;
    // Never past the work area: the rest of a very long text is cut.
    RECT rcWork = {}, rcBox = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    GetWindowRect(m_hWnd, &rcBox);
    const int nRoom = (rcWork.bottom - rcWork.top) - (rcBox.bottom - rcBox.top);
    const int nBy = std::min(nGrow, std::max(nRoom, 0));
    SetWindowPos(hText, nullptr, 0, 0, rcText.right - rcText.left, rcText.bottom - rcText.top + nBy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int nId : {IDOK, IDCANCEL}) {
        HWND hButton = GetDlgItem(nId);
        const RECT rc = ChildRect(m_hWnd, hButton);
        SetWindowPos(hButton, nullptr, rc.left, rc.top + nBy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcBox.right - rcBox.left, rcBox.bottom - rcBox.top + nBy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CQuestionDialog::OnInitDialog()
{
    CCommonMessageDialog::OnInitDialog();
    HWND hYes = GetDlgItem(IDOK);
    HWND hNo = GetDlgItem(IDCANCEL);
    SetWindowTextW(hYes, GetUIText(L"UI_PRINT_RUN", L"IDL_YES", L"Yes").c_str());
    SetWindowTextW(hNo, GetUIText(L"UI_PRINT_RUN", L"IDL_NO", L"No").c_str());
    SendMessageW(hNo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Yes and No side by side where OK stood alone, Yes first.
    const RECT rcYes = ChildRect(m_hWnd, hYes);
    const RECT rcNo = ChildRect(m_hWnd, hNo);
    const int nGap = (rcNo.left - rcYes.right) / 4;
    const int cx = rcYes.right - rcYes.left;
    SetWindowPos(hYes, nullptr, rcNo.left - nGap - cx, rcNo.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_btnNo.Attach(hNo);
    ShowWindow(hNo, SW_SHOW);
    if (!m_bDefaultNo)
        return true;
    // No has the focus and answers Enter; the focus set here stays.
    SendMessageW(m_hWnd, DM_SETDEFID, IDCANCEL, 0);
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hNo), TRUE);
    return false;
}

void CenterOverOwner(HWND hWnd, HWND hOwner)
{
    RECT rcWork;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    RECT rcCentre = rcWork;
    if (hOwner && IsWindowVisible(hOwner) && !IsIconic(hOwner))
        GetWindowRect(hOwner, &rcCentre);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = rcCentre.left + (rcCentre.right - rcCentre.left - w) / 2;
    int y = rcCentre.top + (rcCentre.bottom - rcCentre.top - h) / 2;
    if (x + w > rcWork.right)
        x = rcWork.right - w;
    if (y + h > rcWork.bottom)
        y = rcWork.bottom - h;
    if (x < rcWork.left)
        x = rcWork.left;
    if (y < rcWork.top)
        y = rcWork.top;
    SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowUserMessage(HWND hOwner, int nCode) { ShowUserMessage(hOwner, nCode, {}); }

void ShowUserMessage(HWND hOwner, int nCode, const std::vector<std::wstring>& arrLines)
{
    ShowListedMessage(hOwner, GetUserMessageText(nCode), arrLines, L"");
}

void ShowListedMessage(HWND hOwner, const std::wstring& strHead, const std::vector<std::wstring>& arrLines,
                       const std::wstring& strLast)
{
    constexpr size_t kListedFiles = 10;
    std::wstring strText = ListedMessageText(strHead, arrLines, kListedFiles);
    if (!strLast.empty())
        strText += L"\r\n" + strLast;
    CMessageDialog dialog(strText, GetUserMessageTitle(), IDI_HAND);
    dialog.ShowModal(hOwner);
}
