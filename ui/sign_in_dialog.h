#pragma once
// The sign-in a printer asks for, in the sheet's skin: what the printer asked (or that it
// refused the name just tried), the user name, the password and "Remember my password".
// Modal over the sheet. Windows build only.
#include <optional>

#include "ipp/ipp_sign_in.h"
#include "ui/bmp_btn.h"
#include "ui/frame_dlg.h"
#include "ui/gradient_bkgnd.h"
#include "ui/window_layer.h"

class CSignInDialog : public CDialogImpl, public CFrameDlgT, public CGradientBkgndT {
public:
    explicit CSignInDialog(ipp::SignInQuestion question);
    // The credentials typed, or nullopt when the user cancelled.
    std::optional<ipp::Credentials> Ask(HWND hOwner);

private:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
    void OnInitDialog();
    void TakeTyped();
    void EnableSignIn();

    ipp::SignInQuestion m_question;
    std::optional<ipp::Credentials> m_typed;
    CBmpBtn m_btnOK;
    CBmpBtn m_btnCancel;
};
