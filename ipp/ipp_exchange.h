#pragma once
// One IPP request and its answer over HTTP/1.1 (the Windows build sends it through a stream
// of its own, plain or over Schannel's TLS): a POST of application/ipp to the printer's URL,
// within a time budget, with at most one redirect and only to the same host and port. ipps
// and https are TLS: a certificate Windows trusts for the host, else the one pinned on first
// use (ipp_certificate.h); any other gets nothing. A sign-in goes only over TLS: a printer
// that asks for one over plain HTTP is asked again over TLS on its host and port, or refused.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ipp/ipp_certificate.h"
#include "ipp/ipp_codec.h"
#include "ipp/ipp_url.h"

namespace ipp {

// What follows a request's attributes on the wire: a document, read block by block so
// that memory stays flat at any size.
class DocumentSource {
public:
    virtual ~DocumentSource() = default;
    // The size in bytes, known before sending: the body's Content-Length.
    virtual uint64_t Size() const = 0;
    // Fills the start of `block`; 0 at the document's end, nullopt when it cannot be read.
    virtual std::optional<size_t> Read(std::span<uint8_t> block) = 0;
    // Back to the first byte, for the same request once more (a printer that asked for it
    // again with a new sign-in challenge); false when the document cannot be read again.
    virtual bool Restart() { return false; }
};

enum class Failure {
    None,
    BadRequest,            // the request could not be encoded
    CannotConnect,         // no such host, refused or unreachable
    TimedOut,              // the budget ran out
    UntrustedCertificate,  // Windows does not trust the certificate, and the policy takes nothing else
    CertificateChanged,    // another certificate than the one pinned (certificate, pinnedSha256)
    CertificateUnreadable, // a certificate whose chain or fingerprint cannot be read
    SecureChannelFailed,   // TLS failed otherwise
    ConnectionLost,        // the connection broke after the request was sent
    NotHttp,               // the answer is not HTTP
    HttpError,             // an HTTP status other than 200 (httpStatus)
    NeedsCredentials,      // 401 or 407: the printer asks for a sign-in and none was given
    SignInRefused,         // the printer refused the sign-in of refusedUser
    PasswordUnencrypted,   // a sign-in asked for over plain HTTP by a printer without TLS
    NotIpp,                // 200, but not application/ipp
    Redirected,            // to another host or port, a second time, or with a document
    TooLarge,              // the answer exceeds its bound
    Malformed,             // the answer does not decode (decodeError)
    DocumentUnreadable,
    Stopped,               // the caller's stop request
    SystemError,           // anything else (systemError)
};

// The printer could not be reached safely: its certificate or its sign-in. Nothing of a
// document or a password went to it.
bool IsUnsafe(Failure failure);

struct ExchangeOptions {
    uint32_t budgetMs = 5000;                    // for everything: name, connection, request, answer
    size_t maxAnswerBytes = kMaxMessageBytes;
    // Asked while the exchange runs: a stop ends it at once, also a write or a wait for the
    // answer that the printer holds.
    std::function<bool()> stop;
};

struct Answer {
    Failure failure = Failure::None;
    std::string printer;             // the URL asked, as in a reason
    uint32_t httpStatus = 0;
    DecodeError decodeError = DecodeError::None;
    uint32_t systemError = 0;
    Message message;                 // the decoded answer when failure is None
    std::optional<Certificate> certificate;  // TLS: the one the printer showed, as judged
    std::string pinnedSha256;        // CertificateChanged: the one pinned
    std::wstring strRefusedUser;     // SignInRefused: the name refused

    bool Ok() const { return failure == Failure::None; }
};

// English text of a failure naming the printer, for logs and /probe's lines.
std::string FailureText(const Answer& answer);

// A printer reached for a run's or a check's requests: its connection kept for them when
// asked, the certificate judged on every request, and a sign-in asked for once and then sent
// with every request. Requests go one at a time.
class Connection {
public:
    explicit Connection(const PrinterUrl& url, bool bKeepAlive = false);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The URL asked now: ipps:// once a sign-in moved a printer to TLS.
    const PrinterUrl& Url() const;
    // Sends `request` (its printer-uri made Url()'s), then `document` if given. A printer that
    // asks for a sign-in is asked again with the user's (ipp_sign_in.h), over TLS only; a
    // request with a document cannot be asked again, so it carries the sign-in already
    // given, or none. An IPP status other than success is not a failure here.
    Answer Exchange(const Message& request, const ExchangeOptions& options, DocumentSource* document = nullptr);
    // True once a sign-in was taken: later requests carry it.
    bool SignedIn() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Sends `request` to the printer at `url`, then `document` if given, on a connection of its
// own. An IPP status other than success is not a failure here: it is in message.code.
Answer Exchange(const PrinterUrl& url, const Message& request, const ExchangeOptions& options,
                DocumentSource* document = nullptr);

// Get-Printer-Attributes for `requested` (all when empty), as version 2.0 and, when the
// printer answers that it does not speak 2.0, once more as 1.1 within the same budget.
Answer GetPrinterAttributes(const PrinterUrl& url, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options);
Answer GetPrinterAttributes(Connection& connection, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options);

}  // namespace ipp
