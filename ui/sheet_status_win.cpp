#include "ui/sheet_status.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "ui/dpi_scale.h"
#include "ui/state_indicator.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"
#include "ui/window_layer.h"

namespace {
constexpr int kMarginPx = 10;      // from the sheet's left edge and from the Print button
constexpr int kProgressPx = 8;     // height of the bar below the text
constexpr int kGapPx = 2;

// One sheet per process: whether its line holds a run's outcome, and the printer's
// state line as last told, which comes back when the outcome gives way.
struct HeldOutcome {
    HWND hStatus = nullptr;
    std::wstring strStateLine;
} g_held;

void SetLineText(HWND hSheet, const std::wstring& strText)
{
    // The first page speaks before the sheet has finished its own set-up.
    CreateSheetStatus(hSheet);
    if (HWND hStatus = GetDlgItem(hSheet, IDC_SHEET_STATUS))
        SetWindowTextW(hStatus, strText.c_str());
}
}  // namespace

void CreateSheetStatus(HWND hSheet)
{
    HWND hPrint = GetDlgItem(hSheet, IDOK);
    if (!hPrint || GetDlgItem(hSheet, IDC_SHEET_STATUS))
        return;
    const int nDpi = SystemDpi();
    const RECT rcPrint = ChildRect(hSheet, hPrint);
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm = {};
    HDC hdc = GetDC(hSheet);
    {
        CSelectObject font(hdc, hFont);
        GetTextMetricsW(hdc, &tm);
    }
    ReleaseDC(hSheet, hdc);

    const int x = ScaleToDpi(kMarginPx, nDpi);
    const int cx = rcPrint.left - ScaleToDpi(kMarginPx, nDpi) - x;
    const int cyText = tm.tmHeight + 2;
    const int cyBar = ScaleToDpi(kProgressPx, nDpi);
    const int cyBand = cyText + ScaleToDpi(kGapPx, nDpi) + cyBar;
    const int y = rcPrint.top + ((rcPrint.bottom - rcPrint.top) - cyBand) / 2;
    HINSTANCE hInstance = GetModuleHandleW(nullptr);
    HWND hStatus = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                   x, y, cx, cyText, hSheet, reinterpret_cast<HMENU>(IDC_SHEET_STATUS), hInstance,
                                   nullptr);
    SendMessageW(hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    HWND hBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, x, y + cyText + ScaleToDpi(kGapPx, nDpi), cx, cyBar,
                                hSheet, reinterpret_cast<HMENU>(IDC_SHEET_PROGRESS), hInstance, nullptr);
    SendMessageW(hBar, PBM_SETRANGE32, 0, 1000);
    CreateStateIndicator(hSheet);
}

void SetSheetStatus(HWND hSheet, const std::wstring& strText)
{
    if (SheetHoldsOutcome(hSheet))
        g_held.hStatus = nullptr;
    SetLineText(hSheet, strText);
}

void SetSheetOutcome(HWND hSheet, const std::wstring& strText)
{
    SetLineText(hSheet, strText);
    g_held.hStatus = GetDlgItem(hSheet, IDC_SHEET_STATUS);
}

void SetSheetStateLine(HWND hSheet, const std::wstring& strText)
{
    g_held.strStateLine = strText;
    if (!SheetHoldsOutcome(hSheet))
        SetLineText(hSheet, strText);
}

void ReleaseSheetOutcome(HWND hSheet)
{
    if (!SheetHoldsOutcome(hSheet))
        return;
    g_held.hStatus = nullptr;
    SetLineText(hSheet, g_held.strStateLine);
}

bool SheetHoldsOutcome(HWND hSheet)
{
    return g_held.hStatus && g_held.hStatus == GetDlgItem(hSheet, IDC_SHEET_STATUS);
}

void SetSheetProgress(HWND hSheet, int nPermille)
{
    HWND hBar = GetDlgItem(hSheet, IDC_SHEET_PROGRESS);
    if (!hBar)
        return;
    if (nPermille < 0) {
        ShowWindow(hBar, SW_HIDE);
        return;
    }
    SendMessageW(hBar, PBM_SETPOS, nPermille, 0);
    ShowWindow(hBar, SW_SHOWNA);
}
