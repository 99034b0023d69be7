#pragma once
// CFrameDlgT: mix-in that gives a top-level dialog its own caption and frame from
// bitmaps: a caption (27 pixels at 96 dpi) with icon, text and up to three caption
// buttons (close, minimise, context help), borders of 3 and a rounded window region,
// all scaled to the window's DPI.
//
// Use: construct with the bitmaps (0 = no such button); once the window exists call
// AttachFrame(hWnd) (drops the system caption, keeps the client size); route every
// message through ProcessFrameMessage first. Windows build only.
#include <windows.h>

#include "ui/skin_bitmap.h"
#include "ui/skin_geometry.h"

class CFrameDlgT {
public:
    CFrameDlgT(UINT nActiveBitmap, UINT nInactiveBitmap, UINT nCloseBitmap, UINT nMinimizeBitmap, UINT nHelpBitmap);
    virtual ~CFrameDlgT() = default;

    void AttachFrame(HWND hWnd);
    bool ProcessFrameMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    void PaintFrame(HWND hWnd);
    bool IsHelpModeArmed() const { return m_bHelpMode; }

private:
    struct CaptionButtonState {
        CaptionButton kind;
        UINT nBitmapId;
        RECT rect;
        bool bHover;
        bool bPressed;
        bool bDisabled;
        int nDrawnIndex;
    };
    static constexpr int kButtons = 3;
    // Frame and icon by activation state (inactive, active), and the buttons' images.
    struct FrameBitmaps {
        CSkinBitmap frame;
        CSkinBitmap icon;
    };

    void UpdateRegion(HWND hWnd);
    void TrackButtons(HWND hWnd, bool bAtOrigin);
    void RunButtonAction(HWND hWnd, CaptionButton kind);
    bool ProcessHelpMode(HWND hWnd, UINT uMsg, LPARAM lParam);
    void EndHelpMode(HWND hWnd);
    void OnCaptureChanged(HWND hWnd, HWND hNewCapture);
    int StateIndexOf(HWND hWnd, int nButton) const;
    LRESULT HitTest(HWND hWnd, LPARAM lParam) const;

    FrameBitmaps m_frames[2];
    CaptionButtonState m_buttons[kButtons];
    CSkinBitmap m_buttonImages[kButtons];
    bool m_bActive = true;
    bool m_bHelpMode = false;
    HCURSOR m_hSavedCursor = nullptr;
    // The button that holds the mouse capture (index), shared by all framed windows.
    static int s_nCaptureButton;
    static HWND s_hCaptureWnd;
};
