#pragma once
// Lumeo's window layer: plain Win32 classes with one virtual message handler.
//
//   CWindowBase        m_hWnd and the virtual HandleMessage(uMsg, wParam, lParam, lResult):
//                      return true when handled (lResult is then the message's result),
//                      false to let the window's own/default processing run.
//   CSubclassWnd       takes over an existing window (a control, the sheet):
//                      SubclassWindow(hWnd) ... DefaultProc() calls the replaced procedure.
//                      Unhooks itself on WM_NCDESTROY. Used by every skinned control.
//   CDialogImpl        a dialog from a template id: DoModal(hOwner) / EndDialog(nResult).
//                      Bound to its window on WM_INITDIALOG; lResult goes to DWLP_MSGRESULT
//                      (or is returned directly for WM_INITDIALOG, WM_CTLCOLOR* and the like).
//   CPropertyPageImpl  a property-sheet page from a template id: Create(title) gives the
//                      HPROPSHEETPAGE; sheet notifications arrive as OnSetActive, OnApply, ...
//
// A "message map" is a switch in HandleMessage. Mix-ins (CGradientBkgndT, CFrameDlgT) offer
// ProcessXxxMessage(hWnd, uMsg, wParam, lParam, lResult) with the same contract; a class calls
// its own cases first, then the mix-ins, then returns false. Command and notification helpers:
// CommandId/CommandCode decode WM_COMMAND. All of it runs on the UI thread.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

class CWindowBase {
public:
    HWND m_hWnd = nullptr;

    // Virtual operations in this order: dispatch, destruction, dialog procedure, final hook.
    virtual bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    virtual ~CWindowBase() = default;
    virtual DLGPROC GetDialogProc();
    virtual void OnFinalMessage(HWND hWnd);

    HWND GetDlgItem(int nId) const { return ::GetDlgItem(m_hWnd, nId); }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

    // Binds an object to a window through a window property (and back).
    static void Bind(HWND hWnd, CWindowBase* pThis);
    static CWindowBase* FromHandle(HWND hWnd);
    static void Unbind(HWND hWnd);
};

inline int CommandId(WPARAM wParam) { return LOWORD(wParam); }
inline int CommandCode(WPARAM wParam) { return HIWORD(wParam); }

class CSubclassWnd : public CWindowBase {
public:
    ~CSubclassWnd() override;
    bool SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

protected:
    // The procedure this window had before; the place for everything not handled.
    LRESULT DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnSuperProc = nullptr;
};

class CDialogImpl : public CWindowBase {
public:
    explicit CDialogImpl(UINT nTemplateId) : m_nTemplateId(nTemplateId) {}
    INT_PTR DoModal(HWND hOwner);
    BOOL EndDialog(INT_PTR nResult) { return ::EndDialog(m_hWnd, nResult); }
    DLGPROC GetDialogProc() override;

protected:
    UINT m_nTemplateId;
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    friend class CPropertyPageImpl;
    // Runs HandleMessage and answers the dialog manager the way it expects.
    static INT_PTR Dispatch(CWindowBase* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

class CPropertyPageImpl : public CWindowBase {
public:
    // pszLogName names the page in the creation log line ("Basic / PropPageCallback").
    CPropertyPageImpl(UINT nTemplateId, const wchar_t* pszLogName);
    // The page record for the sheet: template, title, this object, creation callback.
    HPROPSHEETPAGE Create(const std::wstring& strTitle);
    HWND GetSheet() const { return ::GetParent(m_hWnd); }
    DLGPROC GetDialogProc() override;
    // The page's size in pixels as its template lays it out in its own font, whatever
    // size the sheet would give it (the sheet measures in a font of its own).
    SIZE NaturalSize() const;

protected:
    // Sheet notifications; the value is the notification's result.
    virtual LRESULT OnSetActive() { return 0; }
    virtual LRESULT OnApply() { return PSNRET_NOERROR; }
    // Dispatches the sheet's WM_NOTIFY; derived classes call it for what they leave.
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    static UINT CALLBACK PropPageCallback(HWND hWnd, UINT uMsg, LPPROPSHEETPAGEW ppsp);
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    UINT m_nTemplateId;
    const wchar_t* m_pszLogName;
    std::wstring m_strTitle;
};

// For a window that paints all of itself: WM_ERASEBKGND erases nothing and WM_PAINT
// calls paint(hdc) between BeginPaint and EndPaint. True when the message was one of them.
template <typename PaintFn>
bool ProcessSelfPaintMessage(HWND hWnd, UINT uMsg, LRESULT& lResult, PaintFn&& paint)
{
    switch (uMsg) {
    case WM_ERASEBKGND:
        lResult = TRUE;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        paint(BeginPaint(hWnd, &ps));
        EndPaint(hWnd, &ps);
        lResult = 0;
        return true;
    }
    default:
        return false;
    }
}

// Sets the default GUI font on every child of a window.
void SetDefaultGuiFontOnChildren(HWND hParent);

// The width and height, in dialog units, of a dialog template of the program.
SIZE DialogTemplateUnits(UINT nTemplateId);

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND hParent, HWND hChild);

// Whether a window is of the named window class ("Static", "Button"...), in any case.
bool IsWindowOfClass(HWND hWnd, const wchar_t* pszClass);
