#pragma once
// The certificate a printer showed on a request's TLS connection, read as hostile input:
// its fingerprint, its subject cleaned and cut short, and whether Windows trusts it for the
// URL's host. Windows build only.
#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace ipp {

struct ServerCertificate {
    bool bRead = false;  // false: no certificate, or one whose chain or fingerprint cannot be read
    std::string sha256;
    std::wstring strSubject;
    bool bTrustedByWindows = false;
};

// `judged`: one read before for the same host; when the printer shows the same certificate
// again, Windows' verdict on it is taken from there instead of building its chain again.
// !bAskWindows: the fingerprint and subject alone, no chain built (bTrustedByWindows false).
ServerCertificate ReadServerCertificate(PCCERT_CONTEXT pCert, const std::string& host,
                                        const ServerCertificate* judged = nullptr, bool bAskWindows = true);

}  // namespace ipp
