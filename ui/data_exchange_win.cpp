#include "ui/data_exchange.h"

namespace {
bool IsRadioButton(HWND hWnd)
{
    return (SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}
}  // namespace

void CWinDataExchange::OnDataExchangeError(HWND hDlg, int nId)
{
    MessageBeep(static_cast<UINT>(-1));
    SetFocus(GetDlgItem(hDlg, nId));
}

bool CWinDataExchange::DDX_Radio(HWND hDlg, int idFirst, int32_t& nValue, DdxDirection dir)
{
    HWND hCtrl = GetDlgItem(hDlg, idFirst);
    if (!hCtrl)
        return false;
    if (dir == DdxDirection::Save)
        nValue = -1;
    int nIndex = 0;
    do {
        if (IsRadioButton(hCtrl)) {
            if (dir == DdxDirection::Save) {
                if (nValue == -1 && SendMessageW(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    nValue = nIndex;
            } else {
                SendMessageW(hCtrl, BM_SETCHECK, nIndex == nValue ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nIndex;
        }
        hCtrl = GetWindow(hCtrl, GW_HWNDNEXT);
    } while (hCtrl && !(GetWindowLongW(hCtrl, GWL_STYLE) & WS_GROUP));
    return true;
}

bool CWinDataExchange::DDX_Int(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir)
{
    if (dir == DdxDirection::Load) {
        if (!SetDlgItemInt(hDlg, nId, static_cast<UINT>(nValue), TRUE)) {
            OnDataExchangeError(hDlg, nId);
            return false;
        }
        return true;
    }
    BOOL bTranslated = FALSE;
    nValue = static_cast<int32_t>(GetDlgItemInt(hDlg, nId, &bTranslated, TRUE));
    if (!bTranslated) {
        nValue = 0;
        OnDataExchangeError(hDlg, nId);
        return false;
    }
    return true;
}

bool CWinDataExchange::DDX_IntRange(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir, int32_t nMin,
                                    int32_t nMax)
{
    if (!DDX_Int(hDlg, nId, nValue, dir))
        return false;
    if (dir == DdxDirection::Save && (nValue < nMin || nValue > nMax)) {
        OnDataValidateError(hDlg, nId);
        return false;
    }
    return true;
}

bool CWinDataExchange::DDX_Check(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir)
{
    HWND hCtrl = GetDlgItem(hDlg, nId);
    if (!hCtrl)
        return false;
    if (dir == DdxDirection::Save)
        nValue = static_cast<int32_t>(SendMessageW(hCtrl, BM_GETCHECK, 0, 0));
    else
        SendMessageW(hCtrl, BM_SETCHECK, static_cast<WPARAM>(nValue), 0);
    return true;
}
