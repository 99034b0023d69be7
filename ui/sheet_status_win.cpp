#include "ui/sheet_status.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "resources/resource.h"
#include "ui/dpi_scale.h"
#include "ui/state_indicator.h"
#include "ui/gdi_helpers.h"
#include "ui/line_fit.h"
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

void LayOutStatusLines(HWND hSheet, bool bTwoLines);

// The line draws its own text: broken at words over its rows, and "…" where the rest
// does not fit, so a cut never passes for the whole. The control keeps the whole text
// (screen readers, the state card) and fills its background as a static would.
void PaintStatusLine(HWND hStatus, HDC hdc)
{
    RECT rc;
    GetClientRect(hStatus, &rc);
    auto hBrush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hStatus), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hStatus)));
    FillRect(hdc, &rc, hBrush ? hBrush : GetSysColorBrush(COLOR_BTNFACE));
    if (!IsWindowEnabled(hStatus))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    CSelectObject font(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hStatus, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm = {};
    GetTextMetricsW(hdc, &tm);
    std::wstring strText(GetWindowTextLengthW(hStatus) + 1, L'\0');
    strText.resize(GetWindowTextW(hStatus, strText.data(), int(strText.size())));
    const int cyRow = std::max<int>(1, tm.tmHeight);
    const size_t nRows = std::max(1, int(rc.bottom - 2) / cyRow);
    const auto measure = [hdc](std::wstring_view text) {
        SIZE size = {};
        GetTextExtentPoint32W(hdc, text.data(), int(text.size()), &size);
        return int(size.cx);
    };
    int y = 0;
    for (const std::wstring& strRow : FitTextLines(strText, measure, rc.right, nRows)) {
        RECT rcRow = {0, y, rc.right, y + cyRow};
        DrawTextW(hdc, strRow.c_str(), -1, &rcRow, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
        y += cyRow;
    }
}

LRESULT CALLBACK StatusPaintProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        PaintStatusLine(hWnd, hdc);
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (uMsg == WM_PRINTCLIENT) {
        PaintStatusLine(hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    // A static draws a new text at once in its own way; this line waits for its paint.
    if (uMsg == WM_SETTEXT) {
        const LRESULT lResult = DefWindowProcW(hWnd, uMsg, wParam, lParam);
        InvalidateRect(hWnd, nullptr, TRUE);
        return lResult;
    }
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

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
    HWND hStatus = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                   x, y, cx, cyText, hSheet, reinterpret_cast<HMENU>(IDC_SHEET_STATUS), hInstance,
                                   nullptr);
    SendMessageW(hStatus, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    SetWindowSubclass(hStatus, StatusPaintProc, 0, 0);
    HWND hBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, x, y + cyText + ScaleToDpi(kGapPx, nDpi), cx, cyBar,
                                hSheet, reinterpret_cast<HMENU>(IDC_SHEET_PROGRESS), hInstance, nullptr);
    SendMessageW(hBar, PBM_SETRANGE32, 0, 1000);
    CreateStateIndicator(hSheet);
    LayOutStatusLines(hSheet, true);
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

namespace {
// Above a progress bar the line is one row; without the bar it has the band to itself
// and wraps onto a second row, so an outcome or a reason is read whole as far as it can
// be. The mark stays in front of the first row.
void LayOutStatusLines(HWND hSheet, bool bTwoLines)
{
    HWND hStatus = GetDlgItem(hSheet, IDC_SHEET_STATUS), hBar = GetDlgItem(hSheet, IDC_SHEET_PROGRESS);
    if (!hStatus || !hBar)
        return;
    TEXTMETRICW tm = {};
    HDC hdc = GetDC(hStatus);
    {
        CSelectObject font(hdc, reinterpret_cast<HGDIOBJ>(SendMessageW(hStatus, WM_GETFONT, 0, 0)));
        GetTextMetricsW(hdc, &tm);
    }
    ReleaseDC(hStatus, hdc);
    const RECT rcStatus = ChildRect(hSheet, hStatus), rcBar = ChildRect(hSheet, hBar);
    const int cyOne = tm.tmHeight + 2, cyTwo = 2 * tm.tmHeight + 2;
    // The one-line band runs from the line's top to the bar's bottom; two lines are
    // centred on it.
    const int yBandTop = rcBar.top - ScaleToDpi(kGapPx, SystemDpi()) - cyOne;
    const int y = bTwoLines ? yBandTop + (rcBar.bottom - yBandTop - cyTwo) / 2 : yBandTop;
    SetWindowPos(hStatus, nullptr, rcStatus.left, y, rcStatus.right - rcStatus.left, bTwoLines ? cyTwo : cyOne,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND hMark = GetDlgItem(hSheet, IDC_SHEET_STATE)) {
        const RECT rcMark = ChildRect(hSheet, hMark);
        SetWindowPos(hMark, nullptr, rcMark.left, y + (cyOne - (rcMark.bottom - rcMark.top)) / 2, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    InvalidateRect(hSheet, nullptr, TRUE);
    InvalidateRect(hStatus, nullptr, TRUE);
}
}  // namespace

void SetSheetProgress(HWND hSheet, int nPermille)
{
    HWND hBar = GetDlgItem(hSheet, IDC_SHEET_PROGRESS);
    if (!hBar)
        return;
    if (nPermille < 0) {
        ShowWindow(hBar, SW_HIDE);
        LayOutStatusLines(hSheet, true);
        return;
    }
    SendMessageW(hBar, PBM_SETPOS, nPermille, 0);
    if (!IsWindowVisible(hBar))
        LayOutStatusLines(hSheet, false);
    ShowWindow(hBar, SW_SHOWNA);
}
