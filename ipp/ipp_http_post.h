#pragma once
// One POST of application/ipp through WinHTTP, the piece every exchange is made of: the
// headers go first and alone, the printer's certificate is judged before anything else is
// written (the request's attributes, a document, a sign-in), and a stop walks away from a
// write or a wait that the printer holds. Windows build only.
#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_server_certificate.h"
#include "ipp/ipp_sign_in.h"

namespace ipp {

// A certificate a printer showed and that passed, with the verdict it was given.
struct AcceptedCertificate {
    ServerCertificate shown;
    Certificate verdict;
};

// WinHTTP's session and connection to one host and port, shared by the requests of a
// Connection and by a request a stop has walked away from.
class HttpLink {
public:
    HttpLink(const PrinterUrl& url, bool bKeepAlive);
    ~HttpLink();
    HttpLink(const HttpLink&) = delete;
    HttpLink& operator=(const HttpLink&) = delete;
    bool Open() const { return m_hConnect != nullptr; }
    HINTERNET Connect() const { return m_hConnect; }
    bool KeepAlive() const { return m_bKeepAlive; }
    DWORD OpenError() const { return m_nOpenError; }

    // Once for each new connection of the link's requests: Nagle's algorithm switched off.
    // A link where that failed keeps no plain connection.
    void PrepareConnection(HINTERNET hRequest);
    bool NagleStays() const;

    // The certificate that passed last on this link: a request that is shown the same one
    // again (a kept connection's next request) takes its verdict instead of building its
    // chain and reading its pin and the policy again.
    std::optional<AcceptedCertificate> Accepted() const;
    void Accept(const AcceptedCertificate& accepted);

private:
    HINTERNET m_hSession = nullptr;
    HINTERNET m_hConnect = nullptr;
    bool m_bKeepAlive;
    DWORD m_nOpenError = 0;
    // A stopped request may still run on the pool beside the link's next one.
    mutable std::mutex m_lock;
    bool m_bNagleStays = false;
    std::optional<AcceptedCertificate> m_accepted;
};

enum class SignInScheme { None, Basic, Digest };

struct PostInput {
    PrinterUrl url;
    std::vector<uint8_t> head;         // the request's attributes, encoded
    DocumentSource* document = nullptr;
    ExchangeOptions options;
    std::chrono::steady_clock::time_point deadline;
    // Given only for TLS; Basic goes with the request, Digest after the printer's challenge.
    const Credentials* credentials = nullptr;
    SignInScheme scheme = SignInScheme::None;
};

struct PostResult {
    std::string location;   // a redirect's Location
    bool bRedirect = false;
    uint32_t nAuthSchemes = 0;  // WINHTTP_AUTH_SCHEME_* the printer offered with a 401
};

// Fills `answer` (failure, status, message, certificate) and returns what else the POST
// learnt.
PostResult PostOnce(const std::shared_ptr<HttpLink>& link, const PostInput& input, Answer& answer);

}  // namespace ipp
