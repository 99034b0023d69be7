#pragma once
// One POST of application/ipp through WinHTTP, the piece every exchange is made of: the
// headers go first and alone, the printer's certificate is judged before anything else is
// written (the request's attributes, a document, a sign-in), and a stop walks away from a
// write or a wait that the printer holds. Windows build only.
#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <string>
#include <vector>

#include "ipp/ipp_exchange.h"
#include "ipp/ipp_sign_in.h"

namespace ipp {

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

private:
    HINTERNET m_hSession = nullptr;
    HINTERNET m_hConnect = nullptr;
    bool m_bKeepAlive;
    DWORD m_nOpenError = 0;
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
