#include "ui/bmp_btn.h"

#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/focus_cue.h"
#include "ui/skin_geometry.h"
#include "ui/system_dpi.h"

CBmpBtn::CBmpBtn(UINT nFaceBitmap, int nCorner)
    : m_nCorner(nCorner), m_face(nFaceBitmap, BitmapScaling{4, nCorner, nCorner, nCorner, nCorner, false})
{
}

void CBmpBtn::SetIconBitmap(UINT nBitmapId)
{
    m_icon = nBitmapId ? std::make_unique<CSkinBitmap>(nBitmapId, BitmapScaling{2, 0, 0, 0, 0, true}) : nullptr;
}

CBmpBtn::~CBmpBtn()
{
    if (m_hTooltip)
        DestroyWindow(m_hTooltip);
}

bool CBmpBtn::Attach(HWND hButton)
{
    if (!SubclassWindow(hButton))
        return false;
    LONG_PTR style = GetWindowLongPtrW(hButton, GWL_STYLE);
    SetWindowLongPtrW(hButton, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    if (!m_strTooltip.empty()) {
        m_hTooltip = CreateWindowExW(WS_EX_TOPMOST, L"tooltips_class32", nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hButton, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW info = {};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = GetParent(hButton);
        info.uId = reinterpret_cast<UINT_PTR>(hButton);
        info.lpszText = const_cast<wchar_t*>(m_strTooltip.c_str());
        SendMessageW(m_hTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    Redraw();
    return true;
}

void CBmpBtn::SetLatched(bool bLatched)
{
    m_bLatched = bLatched;
    if (m_hWnd)
        Redraw();
}

bool CBmpBtn::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_PAINT: {
        if (m_nCorner <= 0 || !m_face.At(SystemDpi()).IsLoaded())
            return false;
        return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
    }
    case WM_ERASEBKGND:
        lResult = TRUE;
        return m_nCorner > 0;
    case WM_MOUSEMOVE:
        if (!m_bHover) {
            m_bHover = true;
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            TrackMouseEvent(&tme);
            Redraw();
        }
        return false;
    case WM_MOUSELEAVE:
        m_bHover = false;
        Redraw();
        return false;
    case WM_LBUTTONDBLCLK:
        // Owner-drawn buttons turn a quick second click into a double-click notice;
        // a push button must see two clicks.
        lResult = DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bFocus = uMsg == WM_SETFOCUS;
        lResult = DefaultProc(uMsg, wParam, lParam);
        Redraw();
        return true;
    case BM_SETSTATE:
        m_bPressed = wParam != FALSE;
        lResult = DefaultProc(uMsg, wParam, lParam);
        Redraw();
        return true;
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
        lResult = DefaultProc(uMsg, wParam, lParam);
        Redraw();
        return true;
    default:
        return false;
    }
}

void CBmpBtn::Paint(HDC hdcWindow)
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    CMemoryCanvas canvas(hdcWindow, rc.right, rc.bottom);
    HDC hdc = canvas.DC();
    const bool bDisabled = !IsWindowEnabled(m_hWnd);
    const int nDpi = SystemDpi();
    const CBitmapDC& face = m_face.At(nDpi);
    const int nCorner = ScaleToDpi(m_nCorner, nDpi);
    const int nImage = m_nImages[BmpBtnImageIndex(bDisabled, m_bPressed, m_bLatched, m_bHover)];
    const int nImageWidth = face.Width() / 4;
    const POINT ptOrigin = {nImage * nImageWidth, 0};
    SetLayoutLeftToRight(face.DC());
    DrawTiled(hdc, rc, face.DC(), {nImageWidth, face.Height()}, nCorner, nullptr, ptOrigin);

    RECT rcText = rc;
    if (m_icon) {
        const CBitmapDC& icon = m_icon->At(nDpi);
        if (icon.IsLoaded()) {
            const int cx = icon.Width() / 2, cy = icon.Height();
            const int nMargin = (rc.bottom - cy) / 2;
            DrawTransparent(hdc, nMargin, nMargin, cx, cy, icon.DC(), m_bLatched ? cx : 0, 0);
            rcText.left = nMargin + cx + nMargin;
        }
    }
    COLORREF crText = RGB(131, 131, 131);
    if (!bDisabled) {
        const COLORREF crFace = GetPixel(face.DC(), ptOrigin.x + nCorner, nCorner);
        crText = IsDarkFace(GetRValue(crFace), GetGValue(crFace), GetBValue(crFace)) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
    wchar_t szText[256] = {};
    GetWindowTextW(m_hWnd, szText, 256);
    CSelectObject font(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, crText);
    DrawTextW(hdc, szText, -1, &rcText,
              (m_icon ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE | AccessKeyDrawFlag(m_hWnd));
    if (ShowsFocusCue(m_hWnd)) {
        RECT rcFocus = rc;
        InflateRect(&rcFocus, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        DrawFocusRect(hdc, &rcFocus);
    }
    canvas.CopyTo(hdcWindow, 0, 0);
}
