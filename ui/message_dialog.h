#pragma once
// The program's message box: framed caption, bitmap background, a system icon, the
// text and one bitmap OK button (dialog template 232). Modal over an owner window;
// returns 1 when closed.
#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/bmp_btn.h"
#include "ui/frame_dlg.h"
#include "ui/gradient_bkgnd.h"
#include "ui/simple_controls.h"
#include "ui/window_layer.h"

class IMessageDialog {
public:
    virtual ~IMessageDialog() = default;
    virtual INT_PTR ShowModal(HWND hOwner) = 0;
};

class CCommonMessageDialog : public CDialogImpl, public CFrameDlgT, public CGradientBkgndT, public IMessageDialog {
public:
    CCommonMessageDialog(std::wstring strText, std::wstring strCaption, LPCWSTR pszIconId);
    INT_PTR ShowModal(HWND hOwner) override { return DoModal(hOwner); }
    // The box grows wide enough that each line of the text stays on one line (up to the
    // width of the work area), for texts whose lines must not break, as a usage.
    void KeepLinesWhole() { m_bKeepLines = true; }

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    virtual bool OnInitDialog();

    // Grows the box downwards when the text needs more lines than the template gives.
    void FitTextHeight();
    void FitTextWidth();

    bool m_bQuestion = false;
    bool m_bKeepLines = false;
    std::wstring m_strText;
    std::wstring m_strCaption;
    HICON m_hIcon;
    CStdIcon m_icon;
    CBmpBtn m_btnOK;
};

class CMessageDialog : public CCommonMessageDialog {
public:
    using CCommonMessageDialog::CCommonMessageDialog;
};

// The same box asking a question: "Yes" (IDOK) and "No" (IDCANCEL, also Escape and the
// close box), Yes the default unless bDefaultNo. ShowModal returns the button's identifier.
class CQuestionDialog : public CCommonMessageDialog {
public:
    CQuestionDialog(std::wstring strText, std::wstring strCaption, bool bDefaultNo = false)
        : CCommonMessageDialog(std::move(strText), std::move(strCaption), IDI_QUESTION), m_bDefaultNo(bDefaultNo)
    {
        m_bQuestion = true;
    }

private:
    CBmpBtn m_btnNo{IDB_BUTTON_FACE, 4};
    bool m_bDefaultNo;
    bool OnInitDialog() override;
};

// The button a command of OK (IDOK) or Cancel (IDCANCEL) of one of our dialogs stands for:
// Enter answers for the button with the focus, as for any push button, though the dialog
// manager hands it to the default one, since ours are drawn by us.
int AnsweredButton(int nId);

// Centres a window over its owner, or over the work area when the owner is hidden,
// minimised or missing; the window stays inside the work area.
void CenterOverOwner(HWND hWnd, HWND hOwner);

// Shows one of the seven user messages (error icon, "Lumeo" title) over an owner.
void ShowUserMessage(HWND hOwner, int nCode);
// The same message with the lines that name its files below it (at most ten, then a
// line that counts the rest).
void ShowUserMessage(HWND hOwner, int nCode, const std::vector<std::wstring>& arrLines);
// A first line, the lines that name files (as above) and a last line when not empty.
void ShowListedMessage(HWND hOwner, const std::wstring& strHead, const std::vector<std::wstring>& arrLines,
                       const std::wstring& strLast);
