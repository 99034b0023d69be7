// A printer's certificate judged on every request over TLS, kept connections too: the one
// accepted last on the link is taken again as it was judged; any other has its pin and the
// policy read, and its chain built unless its pin decides.
#include "ipp/ipp_http_post.h"
#include "ipp/ipp_trust_store.h"

namespace ipp {

Failure JudgeShownCertificate(HttpLink& link, const PrinterUrl& url, PCCERT_CONTEXT pCert, Answer& answer)
{
    const std::optional<AcceptedCertificate>& accepted = link.Accepted();
    ServerCertificate shown = ReadServerCertificate(pCert, url.host, accepted ? &accepted->shown : nullptr, false);
    if (!shown.bRead)
        return Failure::CertificateUnreadable;
    if (accepted && accepted->shown.sha256 == shown.sha256) {
        answer.certificate = accepted->verdict;
        return Failure::None;
    }
    const std::string printer = PinName(url);
    const CertificatePolicy policy = CurrentCertificatePolicy();
    const std::optional<Pin> stored = ReadPin(printer);
    // Under first use the pin decides for the certificate it names, and Windows' chain is not
    // built for it: loading Windows' roots for the chain costs a fifth of a second a process
    // under Wine. (Such a certificate is shown as pinned even where Windows has come to trust it.)
    if (policy != CertificatePolicy::FirstUse || !stored || stored->sha256 != shown.sha256) {
        shown = ReadServerCertificate(pCert, url.host);
        if (!shown.bRead)
            return Failure::CertificateUnreadable;
    }
    Certificate certificate{shown.sha256, shown.strSubject, CertificateTrust::None, {}};
    const std::optional<Pin> pin = shown.bTrustedByWindows ? std::nullopt : stored;
    Failure failure = Failure::None;
    switch (JudgeCertificate(shown.bTrustedByWindows, shown.sha256, pin, policy, TrustingShownCertificates())) {
    case CertificateVerdict::TrustedByWindows:
        certificate.trust = CertificateTrust::Windows;
        break;
    case CertificateVerdict::Pinned:
        certificate.trust = CertificateTrust::FirstUse;
        certificate.pinnedOn = pin->day;
        break;
    case CertificateVerdict::PinNow:
        // The handshake has been made: this is the certificate the printer holds the key of.
        if (pin && pin->sha256 == shown.sha256)
            certificate.pinnedOn = pin->day;
        else if (WritePin(printer, shown.sha256))
            certificate.pinnedOn = PinDayToday();
        certificate.trust = CertificateTrust::FirstUse;
        break;
    case CertificateVerdict::Changed:
        failure = Failure::CertificateChanged;
        answer.pinnedSha256 = pin->sha256;
        break;
    case CertificateVerdict::NotTrusted:
        failure = Failure::UntrustedCertificate;
        break;
    }
    answer.certificate = certificate;
    if (failure == Failure::None)
        link.Accept({shown, certificate});
    return failure;
}

}  // namespace ipp
