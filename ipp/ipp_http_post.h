#pragma once
// One POST of application/ipp through WinHTTP, the piece every exchange is made of: the
// headers go first and alone, the printer's certificate is judged before anything else is
// written (the request's attributes, a document, a sign-in), and a stop walks away from a
// write or a wait that the printer holds. Windows build only.
#include <winsock2.h>
#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_http_wire.h"
#include "ipp/ipp_server_certificate.h"
#include "ipp/ipp_sign_in.h"

namespace ipp {

// A certificate a printer showed and that passed, with the verdict it was given.
struct AcceptedCertificate {
    ServerCertificate shown;
    Certificate verdict;
};

class TlsStream;

// The way to one host and port, shared by the requests of a Connection: over plain HTTP
// WinHTTP's session and connection (shared also by a request a stop has walked away from),
// over TLS our own stream (ipp_tls_stream.h), kept between requests when asked.
class HttpLink {
public:
    HttpLink(const PrinterUrl& url, bool bKeepAlive);
    ~HttpLink();
    HttpLink(const HttpLink&) = delete;
    HttpLink& operator=(const HttpLink&) = delete;
    bool Open() const { return m_bSecure || m_hConnect != nullptr; }
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

    // TLS: the stream the last request left open, when the printer has not closed it since.
    std::unique_ptr<TlsStream> TakeStream();
    void KeepStream(std::unique_ptr<TlsStream> stream);
    // TLS: the printer's last Digest challenge, and how often its nonce has been answered.
    std::optional<HttpChallenge> Digest() const;
    uint32_t NextNonceCount();
    void SetDigest(const HttpChallenge& challenge);

private:
    HINTERNET m_hSession = nullptr;
    HINTERNET m_hConnect = nullptr;
    bool m_bKeepAlive;
    bool m_bSecure;
    DWORD m_nOpenError = 0;
    // A stopped request may still run on the pool beside the link's next one.
    mutable std::mutex m_lock;
    bool m_bNagleStays = false;
    std::optional<AcceptedCertificate> m_accepted;
    std::unique_ptr<TlsStream> m_stream;
    std::optional<HttpChallenge> m_digest;
    uint32_t m_nNonceCount = 0;
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
// The same over our own TLS (ipp_tls_post_win.cpp), on the caller's thread.
PostResult PostOverTls(HttpLink& link, const PostInput& input, Answer& answer);

// The certificate a printer showed on a TLS connection, judged: trusted by Windows, pinned,
// pinned now, or refused. Fills answer.certificate (and pinnedSha256 for a change); None
// when it passed.
Failure JudgeShownCertificate(HttpLink& link, const PrinterUrl& url, PCCERT_CONTEXT pCert, Answer& answer);

}  // namespace ipp
