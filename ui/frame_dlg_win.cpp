#include "ui/frame_dlg.h"

#include <windowsx.h>

#include <algorithm>

#include "common/debug_log.h"
#include "ui/bitmap_draw.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"

int CFrameDlgT::s_nCaptureButton = -1;
HWND CFrameDlgT::s_hCaptureWnd = nullptr;

namespace {
// The frame bitmap's parts: caption band on top, borders at the sides and bottom.
const BitmapScaling kFrameScaling = {1, kFrameBorder, kFrameBorder, kFrameCaption, kFrameBorder, false};
const BitmapScaling kKeyedScaling = {1, 0, 0, 0, 0, true};
const BitmapScaling kButtonScaling = {3, 0, 0, 0, 0, true};  // three state images

SIZE WindowSize(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

bool IsLeftButtonDown() { return (GetKeyState(VK_LBUTTON) & 0x8000) != 0; }

// Releases the mouse capture only when this window holds it: another window (an open
// drop-down list, a dragged spin button) may have taken it meanwhile.
void ReleaseOwnCapture(HWND hWnd)
{
    if (GetCapture() == hWnd)
        ReleaseCapture();
}

// Caption band: left border columns, the middle tiled, right border columns.
void PaintCaptionBand(HDC hdc, int W, const CBitmapDC& frame, const FrameMetrics& m, DWORD dwRop)
{
    const int bw = frame.Width(), B = m.nBorder, C = m.nCaption;
    const int nStep = bw - 2 * B;
    BitBlt(hdc, 0, 0, B, C, frame.DC(), 0, 0, SRCCOPY | dwRop);
    for (int x = B; nStep > 0 && x < W - B; x += nStep)
        BitBlt(hdc, x, 0, std::min(nStep, W - B - x), C, frame.DC(), B, 0, SRCCOPY | dwRop);
    BitBlt(hdc, W - B, 0, B, C, frame.DC(), bw - B, 0, SRCCOPY | dwRop);
}

void PaintBorders(HDC hdc, int W, int H, const CBitmapDC& frame, const FrameMetrics& m, DWORD dwRop)
{
    const int bw = frame.Width(), bh = frame.Height(), B = m.nBorder, C = m.nCaption;
    const int nStep = bh - C - B;
    for (int y = C; nStep > 0 && y < H - B; y += nStep) {
        const int h = std::min(nStep, H - B - y);
        BitBlt(hdc, 0, y, B, h, frame.DC(), 0, C, SRCCOPY | dwRop);
        BitBlt(hdc, W - B, y, B, h, frame.DC(), bw - B, C, SRCCOPY | dwRop);
    }
    const int nInner = bw - 2 * B;
    BitBlt(hdc, 0, H - B, B, B, frame.DC(), 0, bh - B, SRCCOPY | dwRop);
    for (int x = B; nInner > 0 && x < W - B; x += nInner)
        BitBlt(hdc, x, H - B, std::min(nInner, W - B - x), B, frame.DC(), B, bh - B, SRCCOPY | dwRop);
    BitBlt(hdc, W - B, H - B, B, B, frame.DC(), bw - B, bh - B, SRCCOPY | dwRop);
}
}  // namespace

CFrameDlgT::CFrameDlgT(UINT nActiveBitmap, UINT nInactiveBitmap, UINT nCloseBitmap, UINT nMinimizeBitmap,
                       UINT nHelpBitmap)
    : m_frames{{CSkinBitmap(nInactiveBitmap, kFrameScaling),
                CSkinBitmap(nInactiveBitmap, kKeyedScaling, kFrameIconSource)},
               {CSkinBitmap(nActiveBitmap, kFrameScaling), CSkinBitmap(nActiveBitmap, kKeyedScaling, kFrameIconSource)}},
      m_buttons{{CaptionButton::Close, nCloseBitmap, {}, false, false, false, 0},
                {CaptionButton::Minimize, nMinimizeBitmap, {}, false, false, false, 0},
                {CaptionButton::Help, nHelpBitmap, {}, false, false, false, 0}},
      m_buttonImages{CSkinBitmap(nCloseBitmap, kButtonScaling), CSkinBitmap(nMinimizeBitmap, kButtonScaling),
                     CSkinBitmap(nHelpBitmap, kButtonScaling)}
{
}

void CFrameDlgT::AttachFrame(HWND hWnd)
{
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    // The frame is ours: no system caption or border may paint over it.
    LONG_PTR style = GetWindowLongPtrW(hWnd, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME);
    SetWindowLongPtrW(hWnd, GWL_STYLE, style | WS_POPUP);
    LONG_PTR exStyle = GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    SetWindowLongPtrW(hWnd, GWL_EXSTYLE, exStyle);
    m_bActive = GetActiveWindow() == hWnd;
    const FrameMetrics m = FrameMetricsForDpi(SystemDpi());
    SetWindowPos(hWnd, nullptr, 0, 0, rcClient.right + 2 * m.nBorder, rcClient.bottom + m.nCaption + m.nBorder,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateRegion(hWnd);
}

void CFrameDlgT::UpdateRegion(HWND hWnd)
{
    const SIZE size = WindowSize(hWnd);
    const int nDpi = SystemDpi();
    const auto outline = FrameRegionOutline(size.cx, size.cy, nDpi);
    POINT points[20];
    for (int i = 0; i < 20; ++i)
        points[i] = {outline[i].x, outline[i].y};
    SetWindowRgn(hWnd, CreatePolygonRgn(points, 20, WINDING), TRUE);
    for (CaptionButtonState& button : m_buttons) {
        const ButtonRect r = CaptionButtonRect(button.kind, size.cx, nDpi);
        button.rect = {r.left, r.top, r.right, r.bottom};
    }
}

void CFrameDlgT::PaintFrame(HWND hWnd)
{
    const int nDpi = SystemDpi();
    const FrameMetrics m = FrameMetricsForDpi(nDpi);
    FrameBitmaps& bitmaps = m_frames[m_bActive ? 1 : 0];
    const CBitmapDC& frame = bitmaps.frame.At(nDpi);
    if (!frame.IsLoaded())
        return;
    const SIZE size = WindowSize(hWnd);
    HDC hdc = GetWindowDC(hWnd);
    const DWORD dwRop = SetLayoutLeftToRight(frame.DC());
    {
        CMemoryCanvas caption(hdc, size.cx, m.nCaption);
        PaintCaptionBand(caption.DC(), size.cx, frame, m, dwRop);
        const CBitmapDC& icon = bitmaps.icon.At(nDpi);
        if (icon.IsLoaded())
            DrawTransparent(caption.DC(), m.icon.x, m.icon.y, icon.Width(), icon.Height(), icon.DC(), 0, 0);
        for (int i = 0; i < kButtons; ++i) {
            CaptionButtonState& button = m_buttons[i];
            if (!button.nBitmapId)
                continue;
            const CBitmapDC& image = m_buttonImages[i].At(nDpi);
            button.nDrawnIndex = StateIndexOf(hWnd, i);
            if (image.IsLoaded())
                DrawTransparent(caption.DC(), button.rect.left, button.rect.top, m.nButtonW, m.nButtonH, image.DC(),
                                CaptionButtonImageX(button.nDrawnIndex, image.Width(), m.nButtonW), 0);
        }
        wchar_t szText[256] = {};
        GetWindowTextW(hWnd, szText, 256);
        LOGFONTW lf = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfHeight = m.nTextHeight;
        lf.lfWeight = 900;
        CScopedFont font(CreateFontIndirectW(&lf));
        CSelectObject selectFont(caption.DC(), font.Get());
        TEXTMETRICW tm = {};
        GetTextMetricsW(caption.DC(), &tm);
        SetBkMode(caption.DC(), TRANSPARENT);
        const int x = m.nTextX, y = CaptionTextTop(m.nCaption, tm.tmHeight), d = m.nTextShadow;
        SetTextColor(caption.DC(), RGB(4, 26, 125));
        TextOutW(caption.DC(), x + d, y + d, szText, lstrlenW(szText));
        SetTextColor(caption.DC(), RGB(255, 255, 255));
        TextOutW(caption.DC(), x, y, szText, lstrlenW(szText));
        caption.CopyTo(hdc, 0, 0);
    }
    PaintBorders(hdc, size.cx, size.cy, frame, m, dwRop);
    ReleaseDC(hWnd, hdc);
}

int CFrameDlgT::StateIndexOf(HWND hWnd, int nButton) const
{
    const CaptionButtonState& b = m_buttons[nButton];
    const bool bCapture = s_nCaptureButton == nButton && s_hCaptureWnd == hWnd;
    return CaptionButtonStateIndex(bCapture, b.bHover, b.bPressed, b.bDisabled);
}

void CFrameDlgT::TrackButtons(HWND hWnd, bool bAtOrigin)
{
    POINT ptScreen = {0, 0};
    if (!bAtOrigin)
        GetCursorPos(&ptScreen);
    RECT rcWindow;
    GetWindowRect(hWnd, &rcWindow);
    const POINT ptWindow = {ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top};
    const bool bUnderMouse = WindowFromPoint(ptScreen) == hWnd;
    const bool bDown = IsLeftButtonDown();
    bool bRepaint = false;
    for (int i = 0; i < kButtons; ++i) {
        CaptionButtonState& b = m_buttons[i];
        if (!b.nBitmapId)
            continue;
        const bool bWasDown = b.bPressed;
        b.bHover = bUnderMouse && PtInRect(&b.rect, ptWindow);
        b.bPressed = bDown;
        b.bDisabled = !IsWindowEnabled(hWnd);
        const bool bHolds = s_nCaptureButton == i && s_hCaptureWnd == hWnd;
        if (!bDown && b.bHover) {
            if (s_nCaptureButton == -1) {
                s_nCaptureButton = i;
                s_hCaptureWnd = hWnd;
                SetCapture(hWnd);
            } else if (bHolds && bWasDown) {
                RunButtonAction(hWnd, b.kind);
            }
        } else if (!bDown && !b.bHover && bHolds && !m_bHelpMode) {
            s_nCaptureButton = -1;
            s_hCaptureWnd = nullptr;
            ReleaseOwnCapture(hWnd);
        }
        if (StateIndexOf(hWnd, i) != b.nDrawnIndex)
            bRepaint = true;
    }
    if (bRepaint)
        PaintFrame(hWnd);
}

void CFrameDlgT::RunButtonAction(HWND hWnd, CaptionButton kind)
{
    switch (kind) {
    case CaptionButton::Close:
        PostMessageW(hWnd, WM_CLOSE, 0, 0);
        break;
    case CaptionButton::Minimize:
        PostMessageW(hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case CaptionButton::Help:
        OutputDebugStringW(L"m_uiMsg == WM_HELP");
        m_bHelpMode = true;
        m_hSavedCursor = SetCursor(LoadCursorW(nullptr, IDC_HELP));
        return;  // help mode keeps the capture for its click
    }
    s_nCaptureButton = -1;
    s_hCaptureWnd = nullptr;
    ReleaseOwnCapture(hWnd);
}

void CFrameDlgT::EndHelpMode(HWND hWnd)
{
    m_bHelpMode = false;
    SetCursor(m_hSavedCursor ? m_hSavedCursor : LoadCursorW(nullptr, IDC_ARROW));
    m_hSavedCursor = nullptr;
    s_nCaptureButton = -1;
    s_hCaptureWnd = nullptr;
    ReleaseOwnCapture(hWnd);
}

void CFrameDlgT::OnCaptureChanged(HWND hWnd, HWND hNewCapture)
{
    // The capture went elsewhere: none of our buttons holds it any more, and it is
    // not ours to release.
    if (hNewCapture != hWnd && s_hCaptureWnd == hWnd) {
        s_nCaptureButton = -1;
        s_hCaptureWnd = nullptr;
        if (m_bHelpMode)
            EndHelpMode(hWnd);
    }
    TrackButtons(hWnd, true);
}

bool CFrameDlgT::ProcessHelpMode(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HELP));
        return true;
    case WM_LBUTTONDOWN: {
        POINT ptScreen;
        GetCursorPos(&ptScreen);
        POINT ptClient = ptScreen;
        ScreenToClient(hWnd, &ptClient);
        HWND hChild = ChildWindowFromPointEx(hWnd, ptClient, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (hChild && hChild != hWnd) {
            // Prefer the topmost sibling that overlaps the point (a group box holds others).
            POINT ptParent = ptClient;
            HWND hTop = RealChildWindowFromPoint(hWnd, ptParent);
            if (hTop)
                hChild = hTop;
        }
        HELPINFO info = {};
        info.cbSize = sizeof(info);
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = hChild ? hChild : hWnd;
        info.iCtrlId = hChild ? GetDlgCtrlID(hChild) : 0;
        info.MousePos = ptScreen;
        EndHelpMode(hWnd);
        SendMessageW(hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        EndHelpMode(hWnd);
        return true;
    default:
        return false;
    }
}

LRESULT CFrameDlgT::HitTest(HWND hWnd, LPARAM lParam) const
{
    RECT rcWindow;
    GetWindowRect(hWnd, &rcWindow);
    const POINT pt = {GET_X_LPARAM(lParam) - rcWindow.left, GET_Y_LPARAM(lParam) - rcWindow.top};
    for (const CaptionButtonState& b : m_buttons)
        if (b.nBitmapId && PtInRect(&b.rect, pt))
            return HTBORDER;  // ours to track; no system move or button behaviour
    const FrameMetrics m = FrameMetricsForDpi(SystemDpi());
    if (pt.y < m.nCaption)
        return HTCAPTION;
    const int W = rcWindow.right - rcWindow.left, H = rcWindow.bottom - rcWindow.top;
    if (pt.x < m.nBorder || pt.x >= W - m.nBorder || pt.y >= H - m.nBorder)
        return HTBORDER;
    return HTCLIENT;
}

bool CFrameDlgT::ProcessFrameMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    if (m_bHelpMode && ProcessHelpMode(hWnd, uMsg, lParam)) {
        lResult = TRUE;
        return true;
    }
    switch (uMsg) {
    case WM_NCCALCSIZE: {
        RECT* prc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        const FrameMetrics m = FrameMetricsForDpi(SystemDpi());
        prc->left += m.nBorder;
        prc->right -= m.nBorder;
        prc->bottom -= m.nBorder;
        prc->top += m.nCaption;
        lResult = 0;
        return true;
    }
    case WM_SIZE:
        UpdateRegion(hWnd);
        return false;
    case WM_NCACTIVATE:
        m_bActive = wParam != FALSE;
        PaintFrame(hWnd);
        lResult = TRUE;
        return true;
    case WM_NCPAINT:
        PaintFrame(hWnd);
        lResult = 0;
        return true;
    case WM_NCHITTEST:
        lResult = HitTest(hWnd, lParam);
        return true;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        TrackButtons(hWnd, false);
        return false;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(hWnd, reinterpret_cast<HWND>(lParam));
        return false;
    case WM_NCLBUTTONDBLCLK: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hWnd, &pt);
        const FrameMetrics m = FrameMetricsForDpi(SystemDpi());
        if (pt.x >= -m.nBorder && pt.x <= m.nIconHitWidth - m.nBorder && pt.y < 0 && pt.y >= -m.nCaption) {
            SendMessageW(hWnd, WM_CLOSE, 0, 0);
            lResult = 0;
            return true;
        }
        return false;
    }
    case WM_SETTEXT:
    case WM_ENABLE:
        // The caption shows the text and the buttons the enabled state.
        RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return false;
    default:
        return false;
    }
}
