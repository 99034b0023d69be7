// Basic page: a printer heard over IPP that answered but could not be reached safely. A
// changed certificate is trusted only when the user says so, after seeing both fingerprints;
// a refused or missing sign-in, or a password that would travel in clear, is said as it is.
#include "ui/basic_opts_page.h"

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/user_messages.h"
#include "ipp/ipp_trust_store.h"
#include "ui/message_dialog.h"

void CBasicOptsPage::TellUnsafePrinter(const std::wstring& strNote)
{
    if (m_safety.safety != IppSafety::CertificateChanged || m_strPinName.empty() ||
        !ipp::IsFingerprint(m_safety.shownSha256)) {
        ShowListedMessage(m_hWnd, IppSafetyText(m_safety), {}, strNote);
        return;
    }
    CQuestionDialog question(CertificateQuestion(m_safety), GetUserMessageTitle(), true);
    question.KeepLinesWhole();  // each fingerprint's half on one line, to be compared as shown
    if (question.ShowModal(m_hWnd) != IDOK)
        return;
    // The pin names the certificate the user saw: should the printer show yet another one
    // by the time it is asked again, that one is refused and asked about in turn.
    if (!ipp::WritePin(m_strPinName, m_safety.shownSha256)) {
        DebugLog(L"TellUnsafePrinter / the pin could not be written");
        return;
    }
    StartPrinterCheck(0, true);
}

StateView CBasicOptsPage::WithCertificate(StateView view) const
{
    if (!m_strCertificateLine.empty())
        view.arrDetails.push_back(m_strCertificateLine);
    return view;
}
