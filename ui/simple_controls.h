#pragma once
// Small subclassed controls: CStdIcon (an icon on the dialog background), CNumEdit
// (digits and backspace only) and CUpDownCtrlImpl (the platform's spin, unchanged).
#include "ui/window_layer.h"

class CStdIcon : public CSubclassWnd {
public:
    void SetIcon(HICON hIcon) { m_hIcon = hIcon; }

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    HICON m_hIcon = nullptr;
};

class CNumEdit : public CSubclassWnd {
public:
    // Subclasses the edit and limits its length.
    bool Attach(HWND hEdit, int nMaxChars);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
};

// True for the characters a numeric edit lets through: "0" to "9" and backspace.
bool IsNumEditChar(wchar_t ch);

class CUpDownCtrlImpl : public CSubclassWnd {
public:
    void SetRange(int nLower, int nUpper) { SendMessageW(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
};
