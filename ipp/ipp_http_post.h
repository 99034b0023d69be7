#pragma once
// One POST of application/ipp over a connection of our own, the piece every exchange is
// made of: over TLS the printer's certificate is judged before anything is written (the
// request's attributes, a document, a sign-in), and a stop reaches every write and wait
// that the printer holds. Windows build only.
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <memory>
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

class PrinterStream;

// The way to one host and port, shared by the requests of a Connection, which come one
// after the other on its thread: the stream kept between requests when asked
// (ipp_printer_stream.h).
class HttpLink {
public:
    explicit HttpLink(bool bKeepAlive);
    ~HttpLink();
    HttpLink(const HttpLink&) = delete;
    HttpLink& operator=(const HttpLink&) = delete;
    bool KeepAlive() const { return m_bKeepAlive; }

    // The certificate that passed last on this link: a request that is shown the same one
    // again (a kept connection's next request) takes its verdict instead of building its
    // chain and reading its pin and the policy again.
    const std::optional<AcceptedCertificate>& Accepted() const;
    void Accept(const AcceptedCertificate& accepted);

    // The stream the last request left open, when the printer has not closed it since.
    std::unique_ptr<PrinterStream> TakeStream();
    void KeepStream(std::unique_ptr<PrinterStream> stream);
    // TLS: the printer's last Digest challenge, and how often its nonce has been answered.
    const std::optional<HttpChallenge>& Digest() const;
    uint32_t NextNonceCount();
    void SetDigest(const HttpChallenge& challenge);

private:
    bool m_bKeepAlive;
    std::optional<AcceptedCertificate> m_accepted;
    std::unique_ptr<PrinterStream> m_stream;
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
    // Taken only over TLS; Basic goes with the request, Digest after the printer's challenge.
    const Credentials* credentials = nullptr;
    SignInScheme scheme = SignInScheme::None;
};

struct PostResult {
    std::string location;   // a redirect's Location
    bool bRedirect = false;
    uint32_t nAuthSchemes = 0;  // kOffered* the printer offered with a 401
};

constexpr uint32_t kOfferedBasic = 1;
constexpr uint32_t kOfferedDigest = 2;

// Fills `answer` (failure, status, message, certificate) and returns what else the POST
// learnt; on the caller's thread.
PostResult PostOnce(HttpLink& link, const PostInput& input, Answer& answer);

// The certificate a printer showed on a TLS connection, judged: trusted by Windows, pinned,
// pinned now, or refused. Fills answer.certificate (and pinnedSha256 for a change); None
// when it passed.
Failure JudgeShownCertificate(HttpLink& link, const PrinterUrl& url, PCCERT_CONTEXT pCert, Answer& answer);

}  // namespace ipp
