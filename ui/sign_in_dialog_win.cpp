#include "ui/sign_in_dialog.h"

#include <lmcons.h>

#include "common/placeholders.h"
#include "common/ui_text.h"
#include "resources/resource.h"
#include "ui/gdi_helpers.h"
#include "ui/label_texts.h"
#include "ui/message_dialog.h"

namespace {
constexpr wchar_t kSection[] = L"IPP_TRUST";
constexpr UIText kAsk{L"IDC_SIGNIN_ASK", L"The printer {1} asks for a user name and password."};
constexpr UIText kRefused{L"IDC_SIGNIN_REFUSED", L"The printer {1} refused the sign-in for {2}. Try again."};
// As long as a name or password any printer takes; the edit stops there.
constexpr int kMaxTypedChars = 256;
// A printer's name is the URL's scheme, host and port: a host of a hostile DNS answer is
// shown cut short.
constexpr size_t kMaxShownPrinter = 64;

constexpr LabelText kLabels[] = {
    {IDC_SIGNIN_USER_LABEL, L"IDC_SIGNIN_USER", L"&User name:"},
    {IDC_SIGNIN_PASSWORD_LABEL, L"IDC_SIGNIN_PASSWORD", L"&Password:"},
    {IDC_SIGNIN_REMEMBER, L"IDC_SIGNIN_REMEMBER", L"&Remember my password"},
    {IDOK, L"IDC_SIGNIN_OK", L"Sign &in"},
    {IDCANCEL, L"IDC_SIGNIN_CANCEL", L"Cancel"},
};

std::wstring ShownPrinter(const std::string& printer)
{
    std::wstring strShown(printer.begin(), printer.end());
    if (strShown.size() > kMaxShownPrinter)
        strShown = strShown.substr(0, kMaxShownPrinter - 1) + L"\x2026";
    return strShown;
}

std::wstring SignedInUser()
{
    wchar_t szUser[UNLEN + 1] = {};
    DWORD nChars = UNLEN + 1;
    return GetUserNameW(szUser, &nChars) ? std::wstring(szUser) : std::wstring();
}

// The text of an edit, read into a buffer that is wiped afterwards.
std::wstring EditText(HWND hEdit)
{
    wchar_t szText[kMaxTypedChars + 1] = {};
    const int nChars = GetWindowTextW(hEdit, szText, kMaxTypedChars + 1);
    std::wstring strText(szText, std::max(nChars, 0));
    SecureZeroMemory(szText, sizeof(szText));
    return strText;
}
}  // namespace

CSignInDialog::CSignInDialog(ipp::SignInQuestion question)
    : CDialogImpl(IDD_SIGNIN),
      CFrameDlgT(IDB_FRAME_ACTIVE, IDB_FRAME_INACTIVE, 0, 0, 0),
      CGradientBkgndT(IDB_PAGE_BKGND, 0),
      m_question(std::move(question)),
      m_btnOK(IDB_BUTTON_FACE, 4),
      m_btnCancel(IDB_BUTTON_FACE, 4)
{
}

std::optional<ipp::Credentials> CSignInDialog::Ask(HWND hOwner)
{
    m_typed.reset();
    DoModal(hOwner);
    return std::move(m_typed);
}

bool CSignInDialog::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        OnInitDialog();
        lResult = FALSE;  // the focus is set
        return true;
    case WM_COMMAND:
        if (CommandId(wParam) == IDC_SIGNIN_USER && HIWORD(wParam) == EN_CHANGE) {
            EnableSignIn();
            return true;
        }
        if (CommandId(wParam) == IDOK || CommandId(wParam) == IDCANCEL) {
            const bool bCancel = AnsweredButton(CommandId(wParam)) == IDCANCEL;
            if (!bCancel && GetWindowTextLengthW(GetDlgItem(IDC_SIGNIN_USER)) == 0)
                return true;  // nobody to sign in yet
            if (!bCancel)
                TakeTyped();
            SetDlgItemTextW(m_hWnd, IDC_SIGNIN_PASSWORD, L"");
            EndDialog(bCancel ? IDCANCEL : IDOK);
            lResult = 0;
            return true;
        }
        break;
    default:
        break;
    }
    if (ProcessFrameMessage(m_hWnd, uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}

void CSignInDialog::OnInitDialog()
{
    AttachFrame(m_hWnd);
    SetWindowTextW(m_hWnd, GetUIText(kSection, L"IDD_SIGNIN", L"Sign in to the printer").c_str());
    const std::wstring strPrinter = ShownPrinter(m_question.printer);
    const std::wstring strAsk = m_question.strRefused.empty()
                                    ? FilledUIText(kSection, kAsk, {strPrinter})
                                    : FilledUIText(kSection, kRefused, {strPrinter, m_question.strRefused});
    SetDlgItemTextW(m_hWnd, IDC_SIGNIN_TEXT, strAsk.c_str());
    SetLabelTexts(m_hWnd, kSection, kLabels);
    SetDefaultGuiFontOnChildren(m_hWnd);
    m_btnOK.Attach(GetDlgItem(IDOK));
    m_btnCancel.Attach(GetDlgItem(IDCANCEL));
    HWND hUser = GetDlgItem(IDC_SIGNIN_USER);
    HWND hPassword = GetDlgItem(IDC_SIGNIN_PASSWORD);
    SendMessageW(hUser, EM_LIMITTEXT, kMaxTypedChars, 0);
    SendMessageW(hPassword, EM_LIMITTEXT, kMaxTypedChars, 0);
    // The name refused is offered again to be corrected; the first time, the Windows user's.
    const std::wstring strUser = m_question.strRefused.empty() ? SignedInUser() : m_question.strRefused;
    SetWindowTextW(hUser, strUser.c_str());
    EnableSignIn();
    CenterOverOwner(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
    HWND hFirst = strUser.empty() ? hUser : hPassword;
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hFirst), TRUE);
}

void CSignInDialog::EnableSignIn()
{
    EnableWindow(GetDlgItem(IDOK), GetWindowTextLengthW(GetDlgItem(IDC_SIGNIN_USER)) > 0);
}

void CSignInDialog::TakeTyped()
{
    std::wstring strPassword = EditText(GetDlgItem(IDC_SIGNIN_PASSWORD));
    m_typed.emplace(EditText(GetDlgItem(IDC_SIGNIN_USER)), strPassword,
                    IsDlgButtonChecked(m_hWnd, IDC_SIGNIN_REMEMBER) == BST_CHECKED);
    SecureZeroMemory(strPassword.data(), strPassword.size() * sizeof(wchar_t));
}
