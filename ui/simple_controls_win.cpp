#include "ui/simple_controls.h"

bool CStdIcon::HandleMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lResult)
{
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) {
        if (m_hIcon)
            DrawIconEx(hdc, 0, 0, m_hIcon, 0, 0, 0, nullptr, DI_NORMAL);
    });
}

bool IsNumEditChar(wchar_t ch) { return (ch >= L'0' && ch <= L'9') || ch == L'\b'; }

bool CNumEdit::Attach(HWND hEdit, int nMaxChars)
{
    if (!SubclassWindow(hEdit))
        return false;
    SendMessageW(hEdit, EM_LIMITTEXT, nMaxChars, 0);
    return true;
}

bool CNumEdit::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult)
{
    if (uMsg != WM_CHAR || IsNumEditChar(static_cast<wchar_t>(wParam)))
        return false;
    MessageBeep(static_cast<UINT>(-1));
    lResult = 0;
    return true;
}
