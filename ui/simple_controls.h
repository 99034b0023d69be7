#pragma once
// Small subclassed controls: CStdIcon (an icon on the dialog background), CNumEdit
// (digits and backspace only) and CUpDownCtrlImpl (the platform's spin, unchanged).
#include <string>

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
    ~CNumEdit() override;
    // Subclasses the edit and limits its length.
    bool Attach(HWND hEdit, int nMaxChars);
    // What the edit takes, said in a balloon below it when a digit more than it holds is
    // typed, and whenever the page refuses or repairs a value (ShowRangeTip).
    void SetRangeTip(std::wstring strTitle, std::wstring strText);
    void ShowRangeTip();

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void HideRangeTip();
    std::wstring m_strTipTitle;
    std::wstring m_strTipText;
    HWND m_hTip = nullptr;  // a tracking balloon tooltip, made when first shown
};

// True for the characters a numeric edit lets through: "0" to "9" and backspace.
bool IsNumEditChar(wchar_t ch);

class CUpDownCtrlImpl : public CSubclassWnd {
public:
    void SetRange(int nLower, int nUpper) { SendMessageW(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
};
