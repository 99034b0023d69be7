#pragma once
// CSplashWnd: the borderless top-most window that shows the splash bitmap with the
// version text for a while when the sheet opens. It closes on its timer, a mouse
// click or Escape, and deletes itself when its window goes.
#include <string>

#include "ui/window_layer.h"

constexpr UINT_PTR kSplashTimerId = 1001;

class CSplashWnd : public CWindowBase {
public:
    // Makes the window (nothing when the bitmap is missing); returns it or nullptr.
    static HWND Show(UINT nBitmapId, DWORD dwDisplayMs, HWND hCenterOn, const std::wstring& strText);
    // Holds the thread dwMs while the splash is all there is to see: the user's keys and
    // clicks meanwhile are the splash's, so Escape or a click closes it and ends the hold
    // (they must not reach the sheet, which takes the keyboard focus when it appears).
    // Without a splash, the thread sleeps.
    static void Hold(HWND hSplash, DWORD dwMs);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    CSplashWnd(HBITMAP hBitmap, DWORD dwDisplayMs, HWND hCenterOn, std::wstring strText);
    ~CSplashWnd() override;
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void Paint(HDC hdc);

    HBITMAP m_hBitmap;
    SIZE m_size = {};
    DWORD m_dwDisplayMs;
    HWND m_hCenterOn;
    std::wstring m_strText;
};
