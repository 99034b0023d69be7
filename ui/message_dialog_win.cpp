#include "ui/message_dialog.h"

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/user_messages.h"
#include "resources/resource.h"

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
        // OK, and Escape (the hidden Cancel), close the box with 1.
        if (CommandId(wParam) == IDOK || CommandId(wParam) == IDCANCEL) {
            EndDialog(IDOK);
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
    return true;
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

void ShowUserMessage(HWND hOwner, int nCode)
{
    CMessageDialog dialog(GetUserMessageText(nCode), GetUserMessageTitle(), IDI_HAND);
    dialog.ShowModal(hOwner);
}
