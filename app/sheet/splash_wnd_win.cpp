#include "app/sheet/splash_wnd.h"

#include "common/debug_log.h"
#include "i18n/lang_globals.h"
#include "ui/dpi_scale.h"
#include "ui/message_dialog.h"
#include "ui/skin_bitmap.h"
#include "ui/system_dpi.h"

namespace {
const wchar_t kSplashClass[] = L"LumeoSplashWnd";
constexpr int kTextOffset = 110;  // from the bitmap's centre, right and down (96 dpi)
constexpr int kTextHeight = 16;

bool RegisterSplashClass(WNDPROC pfnProc)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kSplashClass, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kSplashClass;
    return RegisterClassExW(&wc) != 0;
}
}  // namespace

CSplashWnd::CSplashWnd(HBITMAP hBitmap, DWORD dwDisplayMs, HWND hCenterOn, std::wstring strText)
    : m_hBitmap(hBitmap), m_dwDisplayMs(dwDisplayMs), m_hCenterOn(hCenterOn), m_strText(std::move(strText))
{
    BITMAP bm = {};
    GetObjectW(m_hBitmap, sizeof(bm), &bm);
    m_size = {bm.bmWidth, bm.bmHeight};
}

CSplashWnd::~CSplashWnd()
{
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
}

HWND CSplashWnd::Show(UINT nBitmapId, DWORD dwDisplayMs, HWND hCenterOn, const std::wstring& strText)
{
    HBITMAP hBitmap = LoadScaledBitmap(nBitmapId, SystemDpi(), {});
    if (!hBitmap || !RegisterSplashClass(&CSplashWnd::WindowProc)) {
        DebugLog(L"CSplashWnd : no splash bitmap");
        if (hBitmap)
            DeleteObject(hBitmap);
        return nullptr;
    }
    auto* pSplash = new CSplashWnd(hBitmap, dwDisplayMs, hCenterOn, strText);
    HWND hWnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                pSplash->m_size.cx, pSplash->m_size.cy, nullptr, nullptr, GetModuleHandleW(nullptr),
                                pSplash);
    if (!hWnd) {
        delete pSplash;
        return nullptr;
    }
    UpdateWindow(hWnd);
    return hWnd;
}

void CSplashWnd::Hold(HWND hSplash, DWORD dwMs)
{
    if (!hSplash) {
        Sleep(dwMs);
        return;
    }
    const ULONGLONG ullEnd = GetTickCount64() + dwMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
                msg.hwnd = hSplash;
            DispatchMessageW(&msg);
        }
        // What the splash posted itself: its WM_CLOSE.
        while (::IsWindow(hSplash) && PeekMessageW(&msg, hSplash, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        const ULONGLONG ullNow = GetTickCount64();
        if (!::IsWindow(hSplash) || ullNow >= ullEnd)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ullEnd - ullNow), QS_INPUT);
    }
}

LRESULT CALLBACK CSplashWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        auto* pSplash = static_cast<CSplashWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        pSplash->m_hWnd = hWnd;
        Bind(hWnd, pSplash);
    }
    CWindowBase* pThis = FromHandle(hWnd);
    LRESULT lResult = 0;
    if (pThis && pThis->HandleMessage(uMsg, wParam, lParam, lResult))
        return lResult;
    lResult = DefWindowProcW(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY && pThis) {
        Unbind(hWnd);
        pThis->m_hWnd = nullptr;
        pThis->OnFinalMessage(hWnd);
    }
    return lResult;
}

bool CSplashWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_CREATE:
        OnCreate();
        lResult = 0;
        return true;
    case WM_PAINT:
    case WM_ERASEBKGND:  // the bitmap covers the window
        return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
    case WM_TIMER:
        if (wParam == kSplashTimerId) {
            KillTimer(m_hWnd, kSplashTimerId);
            PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        }
        lResult = 0;
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        lResult = 0;
        return true;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        lResult = 0;
        return true;
    case WM_CHAR:
    case WM_KEYUP:
        lResult = 0;
        return true;
    default:
        return false;
    }
}

void CSplashWnd::OnCreate()
{
    CenterOverOwner(m_hWnd, m_hCenterOn);
    SetTimer(m_hWnd, kSplashTimerId, m_dwDisplayMs, nullptr);
}

void CSplashWnd::Paint(HDC hdc)
{
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, m_hBitmap);
    BitBlt(hdc, 0, 0, m_size.cx, m_size.cy, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    if (m_strText.empty())
        return;
    const int nDpi = SystemDpi();
    const int nOffset = ScaleToDpi(kTextOffset, nDpi);
    HFONT hFont = CreateFontW(ScaleToDpi(kTextHeight, nDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              static_cast<BYTE>(g_nCharSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    TextOutW(hdc, m_size.cx / 2 + nOffset, m_size.cy / 2 + nOffset, m_strText.c_str(),
             static_cast<int>(m_strText.size()));
    SelectObject(hdc, hOldFont);
    DeleteObject(hFont);
}

void CSplashWnd::OnFinalMessage(HWND) { delete this; }
