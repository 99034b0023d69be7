#pragma once
// One IPP request and its answer over HTTP/1.1 (the Windows build sends it through
// WinHTTP): a POST of application/ipp to the printer's URL, within a time budget, with at
// most one redirect and only to the same host and port, and no credentials ever sent. ipps and
// https are TLS as the system verifies it; a certificate it does not trust is a failure,
// never a reason to ask again without the checks.
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
};

enum class Failure {
    None,
    BadRequest,            // the request could not be encoded
    CannotConnect,         // no such host, refused or unreachable
    TimedOut,              // the budget ran out
    UntrustedCertificate,  // the system does not trust the printer's certificate
    SecureChannelFailed,   // TLS failed otherwise
    ConnectionLost,        // the connection broke after the request was sent
    NotHttp,               // the answer is not HTTP
    HttpError,             // an HTTP status other than 200 (httpStatus)
    NeedsCredentials,      // 401 or 407: the printer asks for credentials, which are never sent
    NotIpp,                // 200, but not application/ipp
    Redirected,            // to another host or port, a second time, or with a document
    TooLarge,              // the answer exceeds its bound
    Malformed,             // the answer does not decode (decodeError)
    DocumentUnreadable,
    Stopped,               // the caller's stop request
    SystemError,           // anything else (systemError)
};

struct ExchangeOptions {
    uint32_t budgetMs = 5000;                    // for everything: name, connection, request, answer
    size_t maxAnswerBytes = kMaxMessageBytes;
    const std::atomic<bool>* stop = nullptr;     // looked at between blocks
};

struct Answer {
    Failure failure = Failure::None;
    std::string printer;             // the URL asked, as in a reason
    uint32_t httpStatus = 0;
    DecodeError decodeError = DecodeError::None;
    uint32_t systemError = 0;
    Message message;                 // the decoded answer when failure is None

    bool Ok() const { return failure == Failure::None; }
};

// English text of a failure naming the printer, for logs and /probe's lines.
std::string FailureText(const Answer& answer);

// Sends `request` to the printer at `url`, then `document` if given. An IPP status other
// than success is not a failure here: it is in message.code.
Answer Exchange(const PrinterUrl& url, const Message& request, const ExchangeOptions& options,
                DocumentSource* document = nullptr);

// Get-Printer-Attributes for `requested` (all when empty), as version 2.0 and, when the
// printer answers that it does not speak 2.0, once more as 1.1 within the same budget.
Answer GetPrinterAttributes(const PrinterUrl& url, const std::string& userName,
                            const std::vector<std::string>& requested, const ExchangeOptions& options);

}  // namespace ipp
