#include "ui/state_indicator.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "resources/resource.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/line_fit.h"
#include "ui/sheet_status.h"
#include "ui/system_dpi.h"
#include "ui/window_layer.h"

namespace {
constexpr wchar_t kIndicatorClass[] = L"LumeoStateIndicator";
constexpr wchar_t kCardClass[] = L"LumeoStateCard";
constexpr int kGapPx = 4;
constexpr int kCardWidthPx = 300;
constexpr int kBarWidthPx = 120;
constexpr int kPadPx = 6;
constexpr size_t kMostRowsPerLine = 4;  // a line of the card wraps at most this often, then is cut

// One sheet per process: what its indicator and card show.
struct Shown {
    StateSeverity severity = StateSeverity::Unknown;
    std::wstring strStateLine;
    std::vector<std::wstring> arrDetails;
    std::vector<SupplyLevel> supplies;
    size_t nMore = 0;
    // The card's room on the monitor it shows on, as its last showing found it.
    int cxCard = 0, cyCardRoom = 0;
    HWND hCard = nullptr;
    HWND hAnchor = nullptr;  // what the pointer is on while the card shows
} g_shown;

COLORREF ColourOf(StateSeverity severity)
{
    switch (severity) {
        case StateSeverity::Ready:
            return RGB(40, 150, 60);
        case StateSeverity::Warning:
            return RGB(230, 150, 0);
        case StateSeverity::Stop:
            return RGB(205, 30, 30);
        default:
            return RGB(130, 130, 130);
    }
}

// A circle for ready, a triangle for a warning, a square for a stop: the shape
// says it without the colour. Unknown is a ring; no answer a ring crossed out.
void DrawMark(HDC hdc, const RECT& rc, StateSeverity severity)
{
    const int n = std::min(rc.right - rc.left, rc.bottom - rc.top) - 1;
    const int x = rc.left + (rc.right - rc.left - n) / 2, y = rc.top + (rc.bottom - rc.top - n) / 2;
    const int nPen = std::max(1, n / 8);
    HBRUSH hBrush = CreateSolidBrush(ColourOf(severity));
    HPEN hPen = CreatePen(PS_SOLID, nPen, severity == StateSeverity::Warning ? RGB(120, 80, 0) : ColourOf(severity));
    const bool bHollow = severity == StateSeverity::Unknown || severity == StateSeverity::NoAnswer;
    {
        CSelectObject brush(hdc, bHollow ? GetStockObject(NULL_BRUSH) : hBrush);
        CSelectObject pen(hdc, hPen);
        if (severity == StateSeverity::Warning) {
            const POINT pts[3] = {{x + n / 2, y}, {x + n, y + n}, {x, y + n}};
            Polygon(hdc, pts, 3);
        } else if (severity == StateSeverity::Stop) {
            Rectangle(hdc, x + n / 10, y + n / 10, x + n - n / 10, y + n - n / 10);
        } else {
            Ellipse(hdc, x + nPen / 2, y + nPen / 2, x + n - nPen / 2, y + n - nPen / 2);
            if (severity == StateSeverity::NoAnswer) {
                MoveToEx(hdc, x + n / 5, y + n - n / 5, nullptr);
                LineTo(hdc, x + n - n / 5, y + n / 5);
            }
        }
    }
    DeleteObject(hPen);
    DeleteObject(hBrush);
}

std::wstring StatusLineText(HWND hSheet)
{
    HWND hStatus = GetDlgItem(hSheet, IDC_SHEET_STATUS);
    std::wstring strText(hStatus ? GetWindowTextLengthW(hStatus) + 1 : 0, L'\0');
    if (!strText.empty())
        strText.resize(GetWindowTextW(hStatus, strText.data(), int(strText.size())));
    return strText;
}

// The card's lines above the supply bars: the status line whole; under a run's outcome
// the printer's state line, then each of its details.
std::vector<std::wstring> CardHeadLines(HWND hSheet)
{
    std::vector<std::wstring> arrLines;
    const auto AddLine = [&arrLines](const std::wstring& strLine) {
        if (!strLine.empty() && (arrLines.empty() || strLine != arrLines.front()))
            arrLines.push_back(strLine);
    };
    AddLine(StatusLineText(hSheet));
    if (SheetHoldsOutcome(hSheet))
        AddLine(g_shown.strStateLine);
    for (const std::wstring& strDetail : g_shown.arrDetails)
        AddLine(strDetail);
    return arrLines;
}

std::wstring Joined(const std::vector<std::wstring>& arrLines)
{
    std::wstring strText;
    for (const std::wstring& strLine : arrLines)
        strText += (strText.empty() ? L"" : L"\r\n") + strLine;
    return strText;
}

HFONT CardFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Lays the card out, drawing it when bDraw; returns its client size. It keeps within the
// room its showing found on the monitor: each line cut with "…" where it would wrap too
// often, and the entries below the last that fits told as "… and N more".
SIZE LayOutCard(HDC hdc, bool bDraw, const std::vector<std::wstring>& arrHead)
{
    const int nPad = ScaleToDpi(kPadPx, SystemDpi()), nWidth = g_shown.cxCard;
    CSelectObject font(hdc, CardFont());
    TEXTMETRICW tm = {};
    GetTextMetricsW(hdc, &tm);
    const int cyRow = tm.tmHeight, cxText = nWidth - 2 * nPad;
    const TextMeasure measure = [hdc](std::wstring_view text) {
        SIZE size = {};
        GetTextExtentPoint32W(hdc, text.data(), int(text.size()), &size);
        return int(size.cx);
    };
    std::vector<std::vector<std::wstring>> arrHeadRows;
    std::vector<int> arrHeights;
    for (const std::wstring& strLine : arrHead) {
        arrHeadRows.push_back(FitTextLines(strLine, measure, cxText, kMostRowsPerLine));
        arrHeights.push_back(int(arrHeadRows.back().size()) * cyRow);
    }
    for (size_t i = 0; i < g_shown.supplies.size(); ++i)
        arrHeights.push_back((i ? 0 : nPad) + 2 * cyRow + nPad / 2);
    const size_t nShown = CardEntriesThatFit(arrHeights, cyRow, g_shown.cyCardRoom - 2 * nPad, g_shown.nMore);
    const size_t nLeftOut = arrHeights.size() - nShown + g_shown.nMore;
    if (bDraw) {
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    }
    const auto DrawRow = [&](const std::wstring& strText, RECT rc) {
        if (bDraw)
            DrawTextW(hdc, strText.c_str(), -1, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    };
    int y = nPad;
    const int nBar = ScaleToDpi(kBarWidthPx, SystemDpi()), cyBar = std::max(4, static_cast<int>(cyRow * 2 / 3));
    for (size_t i = 0; i < nShown; ++i) {
        if (i < arrHeadRows.size()) {
            for (const std::wstring& strRow : arrHeadRows[i])
                DrawRow(strRow, {nPad, y, nWidth - nPad, y += cyRow});
            continue;
        }
        const SupplyLevel& supply = g_shown.supplies[i - arrHeadRows.size()];
        y += i == arrHeadRows.size() ? nPad : 0;
        DrawRow(supply.strName, {nPad, y, nWidth - nPad, y + cyRow});
        y += cyRow;
        RECT rcBar = {nPad, y + (cyRow - cyBar) / 2, nPad + nBar, y + (cyRow + cyBar) / 2};
        DrawRow(supply.strLevel, {rcBar.right + nPad, y, nWidth - nPad, y + cyRow});
        if (bDraw) {
            FrameRect(hdc, &rcBar, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            if (supply.percent) {
                RECT rcFill = rcBar;
                InflateRect(&rcFill, -1, -1);
                rcFill.right = rcFill.left + (rcFill.right - rcFill.left) * *supply.percent / 100;
                HBRUSH hFill = CreateSolidBrush(*supply.percent <= 10 ? RGB(230, 150, 0) : RGB(60, 110, 190));
                FillRect(hdc, &rcFill, hFill);
                DeleteObject(hFill);
            }
        }
        y += cyRow + nPad / 2;
    }
    if (nLeftOut)
        DrawRow(PrinterMoreText(nLeftOut), {nPad, y, nWidth - nPad, y += cyRow});
    return {nWidth, y + nPad};
}

LRESULT CALLBACK CardProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        RECT rc;
        GetClientRect(hWnd, &rc);
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_INFOBK));
        LayOutCard(hdc, true, CardHeadLines(GetWindow(hWnd, GW_OWNER)));
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (uMsg == WM_NCHITTEST)
        return HTTRANSPARENT;
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void HideCard();

void ShowCard(HWND hSheet, HWND hFrom)
{
    const std::vector<std::wstring> arrHead = CardHeadLines(hSheet);
    if (arrHead.empty() && g_shown.supplies.empty()) {
        HideCard();
        return;
    }
    if (!g_shown.hCard)
        g_shown.hCard =
            CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kCardClass, L"", WS_POPUP | WS_BORDER,
                            0, 0, 1, 1, hSheet, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!g_shown.hCard)
        return;
    g_shown.hAnchor = hFrom;
    // Screen readers get the card whole, whatever the screen has room for.
    SetWindowTextW(g_shown.hCard, CardText(Joined(arrHead), g_shown.supplies, g_shown.nMore).c_str());
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(hFrom, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& rcWork = monitor.rcWork;
    RECT rcFrame = {0, 0, 0, 0};
    AdjustWindowRectEx(&rcFrame, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    const int cxFrame = rcFrame.right - rcFrame.left, cyFrame = rcFrame.bottom - rcFrame.top;
    g_shown.cxCard = std::min<int>(ScaleToDpi(kCardWidthPx, SystemDpi()), rcWork.right - rcWork.left - cxFrame);
    g_shown.cyCardRoom = rcWork.bottom - rcWork.top - cyFrame;
    HDC hdc = GetDC(g_shown.hCard);
    const SIZE size = LayOutCard(hdc, false, arrHead);
    ReleaseDC(g_shown.hCard, hdc);
    RECT rcFrom;
    GetWindowRect(hFrom, &rcFrom);
    const int cx = size.cx + cxFrame, cy = size.cy + cyFrame;
    // Above what was pointed at, as the sheet's bottom row has little below it; below it
    // when there is no room above, and on the work area in any case.
    int y = rcFrom.top - cy - 2;
    if (y < rcWork.top)
        y = rcFrom.bottom + 2;
    y = std::max<int>(rcWork.top, std::min<int>(y, rcWork.bottom - cy));
    const int x = std::max<int>(rcWork.left, std::min<int>(rcFrom.left, rcWork.right - cx));
    SetWindowPos(g_shown.hCard, HWND_TOPMOST, x, y, cx, cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(g_shown.hCard, nullptr, TRUE);
}

void HideCard()
{
    if (g_shown.hCard)
        ShowWindow(g_shown.hCard, SW_HIDE);
}

// Pointing shows the card until the pointer leaves.
bool OnPointer(HWND hWnd, UINT uMsg)
{
    if (uMsg == WM_MOUSEMOVE) {
        if (!g_shown.hCard || !IsWindowVisible(g_shown.hCard))
            ShowCard(GetParent(hWnd), hWnd);
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = hWnd;
        TrackMouseEvent(&track);
        return true;
    }
    if (uMsg == WM_MOUSELEAVE) {
        HideCard();
        return true;
    }
    return false;
}

// The mark is composed off screen on the sheet's own background, so a mark of
// another shape or a focus frame drawn before leaves nothing behind.
void PaintIndicator(HWND hWnd, HDC hdc)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    CMemoryCanvas canvas(hdc, rc.right, rc.bottom);
    FillRect(canvas.DC(), &rc, GetSysColorBrush(COLOR_BTNFACE));
    if (HWND hParent = GetParent(hWnd)) {
        POINT ptOrigin = {0, 0};
        MapWindowPoints(hWnd, hParent, &ptOrigin, 1);
        POINT ptOld;
        SetViewportOrgEx(canvas.DC(), -ptOrigin.x, -ptOrigin.y, &ptOld);
        SendMessageW(hParent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.DC()), 0);
        SetViewportOrgEx(canvas.DC(), ptOld.x, ptOld.y, nullptr);
    }
    DrawMark(canvas.DC(), rc, g_shown.severity);
    if (GetFocus() == hWnd)
        DrawFocusRect(canvas.DC(), &rc);
    canvas.CopyTo(hdc, 0, 0);
}

LRESULT CALLBACK IndicatorProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        PaintIndicator(hWnd, hdc);
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (uMsg == WM_PRINTCLIENT) {
        PaintIndicator(hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    if (uMsg == WM_ERASEBKGND)
        return TRUE;  // the paint clears its own background
    // Tab reaches the indicator too: its card shows while it has the focus.
    if (uMsg == WM_SETFOCUS || uMsg == WM_KILLFOCUS) {
        if (uMsg == WM_SETFOCUS)
            ShowCard(GetParent(hWnd), hWnd);
        else
            HideCard();
        InvalidateRect(hWnd, nullptr, FALSE);
        return 0;
    }
    OnPointer(hWnd, uMsg);
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK StatusLineProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    OnPointer(hWnd, uMsg);
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

void RegisterClasses()
{
    static bool bRegistered = false;
    if (bRegistered)
        return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = IndicatorProc;
    wc.lpszClassName = kIndicatorClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = CardProc;
    wc.lpszClassName = kCardClass;
    wc.style = CS_DROPSHADOW;
    RegisterClassExW(&wc);
    bRegistered = true;
}
}  // namespace

void CreateStateIndicator(HWND hSheet)
{
    HWND hStatus = GetDlgItem(hSheet, IDC_SHEET_STATUS);
    if (!hStatus || GetDlgItem(hSheet, IDC_SHEET_STATE))
        return;
    RegisterClasses();
    // A square as high as the status line's text, in front of it; the line gives
    // the room.
    const RECT rc = ChildRect(hSheet, hStatus);
    const int n = rc.bottom - rc.top, nGap = ScaleToDpi(kGapPx, SystemDpi());
    HWND hIndicator = CreateWindowExW(0, kIndicatorClass, L"", WS_CHILD | WS_TABSTOP, rc.left, rc.top, n, n, hSheet,
                                      reinterpret_cast<HMENU>(IDC_SHEET_STATE), GetModuleHandleW(nullptr), nullptr);
    if (!hIndicator)
        return;
    // In the tab order after the sheet's last button, before the page tabs.
    if (HWND hHelp = GetDlgItem(hSheet, IDHELP))
        SetWindowPos(hIndicator, hHelp, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(hStatus, nullptr, rc.left + n + nGap, rc.top, rc.right - rc.left - n - nGap, n, SWP_NOZORDER);
    SetWindowLongW(hStatus, GWL_STYLE, GetWindowLongW(hStatus, GWL_STYLE) | SS_NOTIFY);
    SetWindowSubclass(hStatus, StatusLineProc, 1, 0);
}

void ShowStateSeverity(HWND hSheet, StateSeverity severity)
{
    CreateStateIndicator(hSheet);
    HWND hIndicator = GetDlgItem(hSheet, IDC_SHEET_STATE);
    if (!hIndicator)
        return;
    g_shown.severity = severity;
    SetWindowTextW(hIndicator, SeverityName(severity).c_str());
    InvalidateRect(hIndicator, nullptr, FALSE);
    ShowWindow(hIndicator, SW_SHOWNA);
}

void ShowStateView(HWND hSheet, const StateView& view)
{
    g_shown.supplies = view.supplies;
    g_shown.strStateLine = view.strLine;
    g_shown.arrDetails = view.arrDetails;
    g_shown.nMore = view.nMore;
    SetSheetStateLine(hSheet, view.strLine);
    ShowStateSeverity(hSheet, view.severity);
    // An open card follows: laid out and painted anew.
    if (g_shown.hCard && IsWindowVisible(g_shown.hCard) && IsWindow(g_shown.hAnchor))
        ShowCard(hSheet, g_shown.hAnchor);
}

void HideStateIndicator(HWND hSheet)
{
    g_shown.supplies.clear();
    g_shown.strStateLine.clear();
    g_shown.arrDetails.clear();
    g_shown.nMore = 0;
    HideCard();
    HWND hIndicator = GetDlgItem(hSheet, IDC_SHEET_STATE);
    if (!hIndicator)
        return;
    // The focus moves on before the indicator goes, never into a hidden window.
    if (GetFocus() == hIndicator)
        SendMessageW(hSheet, WM_NEXTDLGCTL, 0, FALSE);
    ShowWindow(hIndicator, SW_HIDE);
}
