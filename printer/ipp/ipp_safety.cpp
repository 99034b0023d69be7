#include "printer/ipp/ipp_safety.h"

#include "common/placeholders.h"
#include "printer/ipp/ipp_printer_route.h"

namespace {
constexpr wchar_t kSection[] = L"IPP_TRUST";

constexpr UIText kUnsafe{L"IDL_TRUST_UNSAFE", L"The printer could not be reached safely: {1}"};
constexpr UIText kChanged{L"IDL_TRUST_CHANGED", L"its certificate has changed (SHA-256 {1} instead of {2})"};
constexpr UIText kChangedShort{L"IDL_TRUST_CHANGED_SHORT", L"its certificate has changed"};
constexpr UIText kNotTrusted{L"IDL_TRUST_NOTTRUSTED",
                             L"Windows does not trust its certificate, and your administrator allows no other"};
constexpr UIText kUnreadable{L"IDL_TRUST_UNREADABLE", L"its certificate cannot be read"};
constexpr UIText kSignIn{L"IDL_TRUST_SIGNIN", L"the printer asks for a user name and password"};
constexpr UIText kRefused{L"IDL_TRUST_REFUSED", L"the printer refused the sign-in for {1}"};
constexpr UIText kUnencrypted{L"IDL_TRUST_UNENCRYPTED",
                              L"it asks for a password without encryption, which would send your password unencrypted"};
constexpr UIText kCertificate{L"IDL_TRUST_CERTIFICATE", L"Certificate: SHA-256 {1}, {2}"};
constexpr UIText kByWindows{L"IDL_TRUST_BYWINDOWS", L"trusted by Windows"};
constexpr UIText kFirstUse{L"IDL_TRUST_FIRSTUSE", L"trusted on first use on {1}"};
constexpr UIText kNotTrustedCertificate{L"IDL_TRUST_NOTTRUSTEDCERT", L"not trusted"};
constexpr UIText kQuestion{L"IDL_TRUST_QUESTION", L"The printer's certificate has changed."};
constexpr UIText kNow{L"IDL_TRUST_NOW", L"Now: SHA-256 {1}"};
constexpr UIText kBefore{L"IDL_TRUST_BEFORE", L"Trusted before: SHA-256 {1}"};
constexpr UIText kWhy{L"IDL_TRUST_WHY",
                      L"A printer that was reset makes a new certificate; another device may also pose as the printer."};
constexpr UIText kTrustNew{L"IDL_TRUST_ASK", L"Trust the new certificate?"};

std::wstring Say(const UIText& text, std::initializer_list<std::wstring> values = {})
{
    return FilledUIText(kSection, text, values);
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring Fingerprint(const std::string& sha256) { return Wide(ipp::FingerprintText(sha256)); }

// A fingerprint over two lines of 16 bytes each: whole at 200 % on any screen, in every
// language, so the two can be compared character by character.
std::wstring FingerprintInTwoLines(const std::string& sha256)
{
    std::wstring strText = Fingerprint(sha256);
    constexpr size_t kHalf = 16 * 3;  // "AB:" sixteen times
    if (strText.size() > kHalf)
        strText.insert(kHalf, L"\r\n");
    return strText;
}
}  // namespace

IppSafetyFacts SafetyOfAnswer(const ipp::Answer& answer)
{
    IppSafetyFacts facts;
    switch (answer.failure) {
    case ipp::Failure::CertificateChanged:
        facts.safety = IppSafety::CertificateChanged;
        facts.shownSha256 = answer.certificate ? answer.certificate->sha256 : std::string();
        facts.pinnedSha256 = answer.pinnedSha256;
        break;
    case ipp::Failure::UntrustedCertificate: facts.safety = IppSafety::CertificateNotTrusted; break;
    case ipp::Failure::CertificateUnreadable: facts.safety = IppSafety::CertificateUnreadable; break;
    case ipp::Failure::NeedsCredentials: facts.safety = IppSafety::SignInNeeded; break;
    case ipp::Failure::SignInRefused:
        facts.safety = IppSafety::SignInRefused;
        facts.strUser = answer.strRefusedUser;
        break;
    case ipp::Failure::PasswordUnencrypted: facts.safety = IppSafety::PasswordUnencrypted; break;
    default: break;
    }
    return facts;
}

const char* IppSafetyKey(IppSafety safety)
{
    switch (safety) {
    case IppSafety::Safe: return nullptr;
    case IppSafety::CertificateChanged: return "certificate-changed";
    case IppSafety::CertificateNotTrusted: return "certificate-not-trusted";
    case IppSafety::CertificateUnreadable: return "certificate-unreadable";
    case IppSafety::SignInNeeded: return "sign-in-needed";
    case IppSafety::SignInRefused: return "sign-in-refused";
    case IppSafety::PasswordUnencrypted: return "password-unencrypted";
    }
    return nullptr;
}

std::wstring IppSafetyText(const IppSafetyFacts& facts, bool bShort)
{
    return facts.safety == IppSafety::Safe ? std::wstring() : Say(kUnsafe, {IppSafetyWhy(facts, bShort)});
}

std::wstring IppSafetyWhy(const IppSafetyFacts& facts, bool bShort)
{
    std::wstring strWhy;
    switch (facts.safety) {
    case IppSafety::Safe: return std::wstring();
    case IppSafety::CertificateChanged:
        strWhy = bShort ? Say(kChangedShort)
                        : Say(kChanged, {Fingerprint(facts.shownSha256), Fingerprint(facts.pinnedSha256)});
        break;
    case IppSafety::CertificateNotTrusted: strWhy = Say(kNotTrusted); break;
    case IppSafety::CertificateUnreadable: strWhy = Say(kUnreadable); break;
    case IppSafety::SignInNeeded: strWhy = Say(kSignIn); break;
    case IppSafety::SignInRefused: strWhy = Say(kRefused, {facts.strUser}); break;
    case IppSafety::PasswordUnencrypted: strWhy = Say(kUnencrypted); break;
    }
    return strWhy;
}

std::wstring CertificateLine(const ipp::Certificate& certificate)
{
    const std::wstring strTrust = certificate.trust == ipp::CertificateTrust::Windows ? Say(kByWindows)
                                  : certificate.trust == ipp::CertificateTrust::FirstUse
                                      ? Say(kFirstUse, {Wide(certificate.pinnedOn)})
                                      : Say(kNotTrustedCertificate);
    return Say(kCertificate, {Fingerprint(certificate.sha256), strTrust});
}

std::wstring CertificateQuestion(const IppSafetyFacts& facts)
{
    return Say(kQuestion) + L"\r\n\r\n" + Say(kNow, {FingerprintInTwoLines(facts.shownSha256)}) + L"\r\n" +
           Say(kBefore, {FingerprintInTwoLines(facts.pinnedSha256)}) + L"\r\n\r\n" + Say(kWhy) + L"\r\n\r\n" + Say(kTrustNew);
}

IppSafetyFacts UnsafeOfRequests(const std::vector<IppRequestRoute>& arrFirst,
                                const std::vector<IppRequestRoute>& arrSecond)
{
    for (const auto* pRequests : {&arrFirst, &arrSecond})
        for (const IppRequestRoute& request : *pRequests)
            if (request.safety.safety != IppSafety::Safe)
                return request.safety;
    return IppSafetyFacts();
}
