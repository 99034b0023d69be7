#pragma once
// HTTP/1.1 as our own TLS road writes and reads it (portable): the head of a POST of
// application/ipp, a printer's answer read from a byte stream within bounds (status,
// headers, a counted, chunked or closed-ended body, interim 1xx answers passed over), and
// the sign-ins a printer may ask for (Basic, Digest with MD5 or SHA-256). Everything read is
// a printer's, or anyone's on the network: hostile, bounded, never trusted for a size.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ipp {

// Where an answer is read from: fills the start of `buffer`, returns how much it filled,
// 0 once the other side closed, nullopt when the read failed (timed out, stopped, broken).
class HttpByteSource {
public:
    virtual ~HttpByteSource() = default;
    virtual std::optional<size_t> Read(std::span<uint8_t> buffer) = 0;
};

constexpr size_t kMaxHttpHeadBytes = 64 * 1024;  // status line and headers of one answer
constexpr size_t kMaxHttpHeaders = 100;
constexpr int kMaxInterimAnswers = 8;             // 1xx answers before the real one

// The head of a POST of application/ipp with a counted body. `hostHeader` is the Host
// header's value (host as in a URL, ':' port); `authorization` the Authorization header's
// value, none when empty. Ends with the blank line.
std::string PostHead(const std::string& path, const std::string& hostHeader, uint64_t contentLength,
                     const std::string& authorization, bool bKeepAlive);

struct HttpAnswer {
    unsigned status = 0;
    // Names in lower case, values with their surrounding blanks taken off, in the order sent.
    std::vector<std::pair<std::string, std::string>> headers;
    std::vector<uint8_t> body;
    // The connection may carry another request: HTTP/1.1 without "Connection: close", and a
    // body whose end was known (counted or chunked).
    bool bKeepAlive = false;

    const std::string* Header(std::string_view lowerName) const;     // the first of that name
    std::vector<std::string> Headers(std::string_view lowerName) const;  // all of that name
};

enum class HttpReadError {
    None,
    Closed,     // the connection closed before any byte of an answer: a kept one the printer ended
    NotHttp,    // not an HTTP/1.x status line, a header that does not parse, a bad chunk or length
    TooLarge,   // the head or the body past its bound (a Content-Length past it is refused at once)
    Truncated,  // the connection closed inside the answer
    ReadFailed, // the source's read failed (its reason is the source's)
};

// Reads one answer to a POST; `maxBody` bounds its body.
HttpReadError ReadHttpAnswer(HttpByteSource& source, size_t maxBody, HttpAnswer& answer);

// A sign-in a printer offered in its WWW-Authenticate headers (each header may hold several
// challenges, separated by commas; parameters quoted or not).
struct HttpChallenge {
    enum class Scheme { Basic, Digest } scheme = Scheme::Basic;
    std::string realm;
    std::string nonce;      // Digest
    std::string opaque;     // Digest, sent back when given
    std::string algorithm;  // Digest: "MD5" (also when absent), "SHA-256"; others are not offered
    bool bQopAuth = false;  // Digest: qop lists "auth"
    bool bStale = false;
};

// The challenges we can answer, Basic and Digest (MD5, SHA-256, with qop auth or none), in
// the printer's order; any other scheme or a malformed challenge is left out.
std::vector<HttpChallenge> ParseChallenges(const std::vector<std::string>& wwwAuthenticate);

// Two lower-case hex digits a byte, as Digest writes hashes, counts and nonces.
std::string LowerHex(std::span<const uint8_t> bytes);

// Authorization header values. User and password are UTF-8.
std::string BasicAuthorization(std::string_view user, std::string_view password);
// `cnonce`: random hex from the caller; `nonceCount`: 1 for the first use of a nonce. A
// user name with a quote, a backslash or a control character cannot be sent: empty then.
std::string DigestAuthorization(const HttpChallenge& challenge, std::string_view user, std::string_view password,
                                std::string_view method, std::string_view uri, std::string_view cnonce,
                                uint32_t nonceCount);

}  // namespace ipp
