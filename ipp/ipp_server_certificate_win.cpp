#include "ipp/ipp_server_certificate.h"

#include <wincrypt.h>

#include <algorithm>
#include <cctype>

#include "ipp/ipp_http_wire.h"
#include "ipp/ipp_sha256.h"

namespace ipp {

namespace {
// A printer's certificate is a few KiB; anything far larger is not one to read.
constexpr DWORD kMaxCertificateBytes = 64 * 1024;
constexpr size_t kMaxSubjectChars = 64;

// "AB…": the upper-case hex the pins keep.
std::string Fingerprint(PCCERT_CONTEXT pCert)
{
    std::string hex = LowerHex(Sha256(std::string_view(reinterpret_cast<const char*>(pCert->pbCertEncoded),
                                                       pCert->cbCertEncoded)));
    std::transform(hex.begin(), hex.end(), hex.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return hex;
}

std::wstring SubjectOf(PCCERT_CONTEXT pCert)
{
    wchar_t szName[256] = {};
    CertGetNameStringW(pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, szName, static_cast<DWORD>(std::size(szName)));
    std::wstring strName = szName;
    if (strName.size() > kMaxSubjectChars)
        strName = strName.substr(0, kMaxSubjectChars) + L"\x2026";
    return strName;
}

// The chain Windows builds for it, judged as a server's for this host; false when the
// chain cannot be built at all.
bool JudgeChain(PCCERT_CONTEXT pCert, const std::string& host, bool& bTrusted)
{
    CERT_CHAIN_PARA para = {};
    para.cbSize = sizeof(para);
    PCCERT_CHAIN_CONTEXT pChain = nullptr;
    if (!CertGetCertificateChain(nullptr, pCert, nullptr, pCert->hCertStore, &para, 0, nullptr, &pChain) || !pChain)
        return false;
    std::wstring strHost(host.begin(), host.end());
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl = {};
    ssl.cbSize = sizeof(ssl);
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = strHost.data();
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof(policy);
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof(status);
    const BOOL bJudged = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, pChain, &policy, &status);
    CertFreeCertificateChain(pChain);
    bTrusted = bJudged && status.dwError == 0;
    return bJudged != FALSE;
}
}  // namespace

ServerCertificate ReadServerCertificate(PCCERT_CONTEXT pCert, const std::string& host, const ServerCertificate* judged,
                                        bool bAskWindows)
{
    ServerCertificate read;
    if (pCert && pCert->pbCertEncoded && pCert->cbCertEncoded > 0 && pCert->cbCertEncoded <= kMaxCertificateBytes) {
        read.sha256 = Fingerprint(pCert);
        if (judged && judged->bRead && judged->sha256 == read.sha256) {
            read = *judged;
        } else if (!bAskWindows || JudgeChain(pCert, host, read.bTrustedByWindows)) {
            read.strSubject = SubjectOf(pCert);
            read.bRead = true;
        }
    }
    return read;
}

}  // namespace ipp
