#include "ipp/ipp_sign_in.h"

#include <atomic>
#include <mutex>

namespace ipp {

namespace {
std::atomic<CertificatePolicy> g_policy{CertificatePolicy::FirstUse};
std::atomic<bool> g_bTrustShown{false};
std::mutex g_providerLock;
SignInProvider g_provider;

// Not optimised away like a plain fill before a free.
void Wipe(std::wstring& text)
{
    volatile wchar_t* p = text.data();
    for (size_t i = 0; i < text.size(); ++i)
        p[i] = 0;
    text.clear();
}
}  // namespace

Credentials::~Credentials() { Wipe(strPassword); }

bool PrinterAsksForSignIn(const Message& printer, const PrinterUrl& url)
{
    const Attribute* pUris = printer.Find(GroupTag::Printer, "printer-uri-supported");
    const Attribute* pAuth = printer.Find(GroupTag::Printer, "uri-authentication-supported");
    if (!pUris || !pAuth)
        return false;
    const std::vector<std::string> uris = pUris->Texts();
    const std::vector<std::string> methods = pAuth->Texts();
    for (size_t i = 0; i < uris.size() && i < methods.size(); ++i) {
        const std::optional<PrinterUrl> listed = ParsePrinterUrl(uris[i]);
        const bool bThis = uris.size() == 1 || (listed && listed->Secure() == url.Secure() &&
                                                listed->port == url.port && listed->path == url.path);
        if (bThis)
            return methods[i] == "basic" || methods[i] == "digest";
    }
    return false;
}

void SetCertificatePolicy(CertificatePolicy policy) { g_policy = policy; }
CertificatePolicy CurrentCertificatePolicy() { return g_policy; }
void TrustShownCertificates(bool bTrust) { g_bTrustShown = bTrust; }
bool TrustingShownCertificates() { return g_bTrustShown; }

void SetSignInProvider(SignInProvider provider)
{
    const std::lock_guard<std::mutex> lock(g_providerLock);
    g_provider = std::move(provider);
}

std::optional<Credentials> AskForSignIn(const SignInQuestion& question)
{
    SignInProvider provider;
    {
        const std::lock_guard<std::mutex> lock(g_providerLock);
        provider = g_provider;
    }
    if (!provider || question.nAttempt > kMaxSignInAttempts)
        return std::nullopt;
    std::optional<Credentials> credentials = provider(question);
    if (credentials && (credentials->strUser.empty() || credentials->strUser.size() > 256 ||
                        credentials->strPassword.size() > 256))
        return std::nullopt;
    return credentials;
}

}  // namespace ipp
