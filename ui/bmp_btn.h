#pragma once
// CBmpBtn: a push button painted from a face bitmap of four equal images, left to
// right: normal, hover or focus, pushed, disabled; text white on a dark face.
// Attach(hButton) makes the button owner-drawn (and gives it a tooltip when one is set).
// The face is scaled to the window's DPI; the corner size is given at 96 dpi.
#include <string>

#include <memory>

#include "ui/skin_bitmap.h"
#include "ui/window_layer.h"

class CBmpBtn : public CSubclassWnd {
public:
    explicit CBmpBtn(UINT nFaceBitmap = 212, int nCorner = 4);
    ~CBmpBtn() override;

    bool Attach(HWND hButton);
    // An icon of two images (normal, latched) with a transparent key colour.
    void SetIconBitmap(UINT nBitmapId);
    void SetTooltipText(const std::wstring& strText) { m_strTooltip = strText; }
    void SetLatched(bool bLatched);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);
    void Redraw() { InvalidateRect(m_hWnd, nullptr, FALSE); }

    int m_nCorner;
    CSkinBitmap m_face;
    std::unique_ptr<CSkinBitmap> m_icon;
    int m_nImages[4] = {0, 1, 2, 3};  // normal, hover or focus, pushed, disabled
    bool m_bHover = false;
    bool m_bFocus = false;
    bool m_bPressed = false;
    bool m_bLatched = false;
    std::wstring m_strTooltip;
    HWND m_hTooltip = nullptr;
};
